#include "support/GuiHelpers.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <algorithm>

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

QList<QAbstractButton*> DialogButtons(QWidget* dialog) {
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        if (b->isVisible()) buttons << b;
    }
    std::sort(buttons.begin(), buttons.end(), [dialog](QAbstractButton* a, QAbstractButton* b) {
        const QPoint pa = a->mapTo(dialog, QPoint(0, 0));
        const QPoint pb = b->mapTo(dialog, QPoint(0, 0));
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return buttons;
}

QStringList ButtonTexts(QWidget* dialog) {
    QStringList texts;
    for (QAbstractButton* b : DialogButtons(dialog)) texts << b->text();
    return texts;
}

QAbstractButton* FindButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* b : DialogButtons(dialog)) {
        if (b->text() == text) return b;
    }
    return nullptr;
}

}  // namespace testsupport
