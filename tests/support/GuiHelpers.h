// Helpers for driving real windows and their modal dialogs in tests.
#pragma once

#include <QString>
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

}  // namespace testsupport
