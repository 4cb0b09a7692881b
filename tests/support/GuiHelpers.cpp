#include "support/GuiHelpers.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace testsupport {

struct ModalHandler::State {
    QTimer timer;
    std::function<void(QWidget*)> act;
    int pollsLeft = 0;
    bool fired = false;
};

ModalHandler::ModalHandler(std::function<void(QWidget*)> act, int maxPolls) : state_(new State) {
    state_->act = std::move(act);
    state_->pollsLeft = maxPolls;
    state_->timer.setInterval(10);
    QObject::connect(&state_->timer, &QTimer::timeout, [s = state_] {
        if (--s->pollsLeft < 0) {
            s->timer.stop();
            return;
        }
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr || !w->isVisible()) return;
        s->timer.stop();
        s->fired = true;
        s->act(w);
    });
    state_->timer.start();
}

ModalHandler::~ModalHandler() { delete state_; }

bool ModalHandler::fired() const { return state_->fired; }

QString DialogText(QWidget* dialog) {
    QStringList parts;
    for (QLabel* l : dialog->findChildren<QLabel*>()) {
        if (!l->text().isEmpty()) parts << l->text();
    }
    return parts.join("\n");
}

}  // namespace testsupport
