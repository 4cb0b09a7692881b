#include "framework/qt/SpinEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QWheelEvent>

#include "framework/qt/HandlerGuard.h"
#include "framework/qt/Platform.h"

namespace framework {

namespace {

// The application's style with the spin edit's own repeat timing, and
// without the modifier that makes a step worth ten.
class SpinEditStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        switch (hint) {
            case SH_SpinBox_ClickAutoRepeatThreshold:
                return TSpinEdit::kRepeatDelayMs;
            case SH_SpinBox_ClickAutoRepeatRate:
                return TSpinEdit::kRepeatIntervalMs;
            case SH_SpinBox_StepModifier:
                return Qt::NoModifier;
            default:
                return QProxyStyle::styleHint(hint, option, widget, returnData);
        }
    }
};

// Keys that would edit the text: refused with a beep.
bool IsEditingKey(const QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
        event->matches(QKeySequence::Delete) || event->matches(QKeySequence::Backspace) ||
        event->matches(QKeySequence::DeleteStartOfWord) ||
        event->matches(QKeySequence::DeleteEndOfWord))
        return true;
    switch (event->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        default:
            break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.front() >= QLatin1Char(' ');
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
    auto* style = new SpinEditStyle;
    style->setParent(this);
    setStyle(style);
    // Read-only text, not a read-only spin box: that would stop the stepping.
    lineEdit()->setReadOnly(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setSingleStep(1);
    setAccelerated(false);
    setKeyboardTracking(true);
    connect(this, &QSpinBox::valueChanged, this, [this] { ValueChanged(); });
}

void TSpinEdit::SetValue(int value) {
    settingFromCode_ = true;
    changeFailure_ = nullptr;
    setValue(value);
    settingFromCode_ = false;
    if (changeFailure_) std::rethrow_exception(std::exchange(changeFailure_, nullptr));
}

void TSpinEdit::SetMaxLength(int length) {
    maxLength_ = qMax(0, length);
    lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TSpinEdit::ValueChanged() {
    if (!OnChange) return;
    if (settingFromCode_) {
        // Exceptions must not cross Qt's signal dispatch: keep it for SetValue.
        try {
            OnChange();
        } catch (...) {
            changeFailure_ = std::current_exception();
        }
        return;
    }
    RunGuarded([this] { OnChange(); });
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
            QSpinBox::keyPressEvent(event);
            return;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            // No step of ten: only Up and Down step.
            event->accept();
            return;
        default:
            break;
    }
    if (IsEditingKey(event)) {
        event->accept();
        Beep();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void TSpinEdit::wheelEvent(QWheelEvent* event) {
    // The wheel does not step the value.
    event->ignore();
}

}  // namespace framework
