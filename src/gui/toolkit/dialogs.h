#pragma once

#include <QString>
#include <optional>

class QPrinter;
class QWidget;

// Every message and input box of the program goes through this, so tests can record the texts
// and script the answers.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A modal box with one text and an OK button, titled with the application's name.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A modal prompt; nullopt when the user cancels.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                         const QString& default_text) = 0;
    // A modal question with Yes and No buttons, No the default; true for Yes.
    virtual bool ask(QWidget* parent, const QString& text) = 0;
    // A file chooser for a file to read, or one to write (which asks before replacing a file);
    // nullopt when the user cancels. filter as QFileDialog takes it ("CSV files (*.csv)").
    virtual std::optional<QString> open_file(QWidget* parent, const QString& title,
                                             const QString& filter) = 0;
    virtual std::optional<QString> save_file(QWidget* parent, const QString& title, const QString& suggested,
                                             const QString& filter) = 0;
    // Lets the user choose where printer prints (the print dialog; its "print to file" gives a
    // PDF). False when the user cancels: nothing is to be printed.
    virtual bool choose_printer(QWidget* parent, QPrinter& printer) = 0;
};

class QtDialogs final : public Dialogs {
  public:
    void message(QWidget* parent, const QString& text) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& default_text) override;
    bool ask(QWidget* parent, const QString& text) override;
    std::optional<QString> open_file(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> save_file(QWidget* parent, const QString& title, const QString& suggested,
                                     const QString& filter) override;
    bool choose_printer(QWidget* parent, QPrinter& printer) override;
};
