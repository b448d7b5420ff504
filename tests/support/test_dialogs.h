#pragma once

#include "ui/dialogs.h"

#include <QStringList>

// Records every message and answers input prompts from a script. A null QString in the script,
// or running out of answers, is a cancelled prompt.
class TestDialogs final : public Dialogs {
  public:
    void message(QWidget*, const QString& text) override { messages << text; }
    std::optional<QString> input(QWidget*, const QString& prompt, const QString& title,
                                 const QString&) override {
        prompts << title + u'|' + prompt;
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }

    QStringList messages;
    QStringList prompts;
    QStringList answers;
};
