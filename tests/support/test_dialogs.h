#pragma once

#include "ui/dialogs.h"

#include <QStringList>
#include <deque>

// Records every message and answers input prompts from a script (a cancel when it runs out).
class TestDialogs final : public Dialogs {
  public:
    void message(QWidget*, const QString& text) override { messages << text; }
    std::optional<QString> input(QWidget*, const QString& prompt, const QString& title,
                                 const QString&) override {
        prompts << title + u'|' + prompt;
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList messages;
    QStringList prompts;
    std::deque<std::optional<QString>> answers;
};
