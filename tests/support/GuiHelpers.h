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

// Texts of a modal dialog, for assertions.
QString DialogText(QWidget* dialog);

// The push buttons of a dialog, in their order on screen (left to right, then
// top to bottom), and their captions.
QList<QAbstractButton*> DialogButtons(QWidget* dialog);
QStringList ButtonTexts(QWidget* dialog);

// The dialog's button captioned exactly `text`, or nullptr.
QAbstractButton* FindButton(QWidget* dialog, const QString& text);

}  // namespace testsupport
