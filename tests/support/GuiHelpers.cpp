#include "support/GuiHelpers.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
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

struct DialogScript::State {
    QTimer timer;
    QList<std::function<void(QWidget*)>> actions;
    QList<Seen> seen;
    QPointer<QWidget> last;
};

DialogScript::DialogScript() : state_(new State) {
    state_->timer.setInterval(10);
    QObject::connect(&state_->timer, &QTimer::timeout, [s = state_] {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr || !w->isVisible() || w == s->last.data()) return;
        s->last = w;
        s->seen.append({w->windowTitle(), DialogText(w)});
        if (s->actions.isEmpty()) {
            w->close();
            return;
        }
        s->actions.takeFirst()(w);
    });
    state_->timer.start();
}

DialogScript::~DialogScript() { delete state_; }

DialogScript& DialogScript::Then(std::function<void(QWidget*)> act) {
    state_->actions.append(std::move(act));
    return *this;
}

DialogScript& DialogScript::Press(const QString& caption) {
    return Then([caption](QWidget* w) {
        QAbstractButton* b = FindButton(w, caption);
        if (b != nullptr)
            b->click();
        else
            w->close();
    });
}

DialogScript& DialogScript::Type(const QString& text, const QString& caption) {
    return Then([text, caption](QWidget* w) {
        if (auto* edit = w->findChild<QLineEdit*>()) edit->setText(text);
        QAbstractButton* b = FindButton(w, caption);
        if (b != nullptr)
            b->click();
        else
            w->close();
    });
}

const QList<DialogScript::Seen>& DialogScript::seen() const { return state_->seen; }

int DialogScript::pending() const { return static_cast<int>(state_->actions.size()); }

}  // namespace testsupport
