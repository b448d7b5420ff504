#pragma once

#include "gui/toolkit/dialogs.h"

#include <QPrinter>
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

    // Answers from ask_answers, No when they run out.
    bool ask(QWidget*, const QString& text) override {
        questions << text;
        return !ask_answers.isEmpty() && ask_answers.takeFirst();
    }

    // Answers file choosers from file_answers; cancelled when they run out.
    std::optional<QString> open_file(QWidget*, const QString& title, const QString&) override {
        return next_file(title);
    }
    std::optional<QString> save_file(QWidget*, const QString& title, const QString&,
                                     const QString&) override {
        return next_file(title);
    }
    std::optional<QString> next_file(const QString& title) {
        prompts << title;
        if (file_answers.isEmpty())
            return std::nullopt;
        return file_answers.takeFirst();
    }

    // Prints into print_file as a PDF, or cancels when print_file is empty.
    bool choose_printer(QWidget*, QPrinter& printer) override {
        ++print_requests;
        if (print_file.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(print_file);
        return true;
    }

    QStringList messages;
    QStringList prompts;
    QStringList answers;
    QStringList questions;
    QList<bool> ask_answers;
    QStringList file_answers;
    QString print_file;
    int print_requests = 0;
};
