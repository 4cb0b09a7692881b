// Helpers for driving real windows and their modal dialogs in tests.
#pragma once

#include <QAbstractButton>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace testsupport {

// Polls QApplication::activeModalWidget() from a short repeating timer and
// calls `act` with the first modal widget that appears (once). Use before the
// code that opens the dialog; the returned object stops polling when destroyed.
class ModalHandler {
  public:
    explicit ModalHandler(std::function<void(QWidget*)> act, int maxPolls = 500);
    ~ModalHandler();
    ModalHandler(const ModalHandler&) = delete;
    ModalHandler& operator=(const ModalHandler&) = delete;
    bool fired() const;

  private:
    struct State;
    State* state_;
};

// Answers modal dialogs in turn, one scripted action per dialog. A dialog
// that comes when no action is left is recorded and closed, so a test fails
// instead of hanging.
class DialogScript {
  public:
    struct Seen {
        QString title;
        QString text;
    };

    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& Then(std::function<void(QWidget*)> act);
    // Presses the button captioned `caption`.
    DialogScript& Press(const QString& caption);
    // Types `text` into the dialog's line edit, then presses `caption`.
    DialogScript& Type(const QString& text, const QString& caption);

    const QList<Seen>& seen() const;
    int pending() const;  // actions not yet used

  private:
    struct State;
    State* state_;
};

// Texts of a modal dialog, for assertions.
QString DialogText(QWidget* dialog);

// The push buttons of a dialog, in their order on screen (left to right, then
// top to bottom), and their captions.
QList<QAbstractButton*> DialogButtons(QWidget* dialog);
QStringList ButtonTexts(QWidget* dialog);

// The dialog's button captioned exactly `text`, or nullptr.
QAbstractButton* FindButton(QWidget* dialog, const QString& text);

}  // namespace testsupport
