#include "framework/qt/Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "framework/qt/HandlerGuard.h"

namespace framework {

namespace {

QPointer<TForm>& MainFormStore() {
    static QPointer<TForm> form;
    return form;
}

// Drops the input events meant for a disabled form, at whichever of its
// widgets they are aimed. Installed on the application with the first form.
class DisabledFormFilter : public QObject {
  public:
    static void Install() {
        static DisabledFormFilter* filter = nullptr;
        if (filter == nullptr && qApp != nullptr) {
            filter = new DisabledFormFilter(qApp);
            qApp->installEventFilter(filter);
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!IsInput(event->type()) || !watched->isWidgetType()) return false;
        const auto* form = qobject_cast<const TForm*>(static_cast<QWidget*>(watched)->window());
        return form != nullptr && !form->Enabled();
    }

  private:
    using QObject::QObject;

    static bool IsInput(QEvent::Type type) {
        switch (type) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::ShortcutOverride:
            case QEvent::ContextMenu:
            case QEvent::InputMethod:
            case QEvent::TabletPress:
            case QEvent::TabletRelease:
            case QEvent::TabletMove:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    DisabledFormFilter::Install();
    SetBorderStyle(TFormBorderStyle::bsSingle);
}

TForm::~TForm() = default;

void TForm::Create() {
    if (created_) return;
    created_ = true;
    RunGuarded([this] { FormCreate(); });
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
    // An owned window is a dialog to the desktop: X11 window managers keep
    // only those above the window they belong to.
    Qt::WindowFlags flags = (owner_ != nullptr ? Qt::Dialog : Qt::Window) |
                            Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (borderStyle_ == TFormBorderStyle::bsSingle) flags |= Qt::WindowMinimizeButtonHint;
    if (flags == windowFlags()) return;
    // Changing the flags re-creates the native window, which hides it on the
    // way; that is no hide of the form, so no handler runs.
    const bool wasVisible = isVisible();
    changingFlags_ = true;
    setWindowFlags(flags);
    if (wasVisible) QWidget::setVisible(true);
    changingFlags_ = false;
}

void TForm::SetClientSize(int width, int height) { setFixedSize(width, height); }

QMargins TForm::FrameMargins() const {
    if (!isVisible() && !shownFrame_.isNull()) return shownFrame_;
    return NativeFrameMargins();
}

QMargins TForm::NativeFrameMargins() const {
    // The native window knows the frame; create it if it does not exist yet.
    auto* self = const_cast<TForm*>(this);
    if (self->windowHandle() == nullptr) self->winId();
    const QWindow* window = self->windowHandle();
    return window != nullptr ? window->frameMargins() : QMargins();
}

int TForm::Width() const {
    const QMargins m = FrameMargins();
    return width() + m.left() + m.right();
}

int TForm::Height() const {
    const QMargins m = FrameMargins();
    return height() + m.top() + m.bottom();
}

void TForm::SetWidth(int width) {
    const QMargins m = FrameMargins();
    setFixedWidth(qMax(0, width - m.left() - m.right()));
}

void TForm::SetHeight(int height) {
    const QMargins m = FrameMargins();
    setFixedHeight(qMax(0, height - m.top() - m.bottom()));
}

QPoint TForm::OuterOrigin() const {
    const QMargins m = FrameMargins();
    return geometry().topLeft() - QPoint(m.left(), m.top());
}

void TForm::SetMainForm(TForm* form) {
    MainFormStore() = form;
    // Hidden windows and closed message boxes must not end the run: only
    // closing the main form does.
    if (form != nullptr && qApp != nullptr) QGuiApplication::setQuitOnLastWindowClosed(false);
}

TForm* TForm::MainForm() { return MainFormStore().data(); }

void TForm::Show() { ShowAbove(nullptr); }

void TForm::ShowAbove(TForm* owner) {
    if (!isVisible()) SetOwner(owner);
    setVisible(true);
    raise();
    activateWindow();
}

void TForm::SetOwner(TForm* owner) {
    owner_ = owner;
    ApplyWindowFlags();
    winId();
    if (QWindow* window = windowHandle()) {
        window->setTransientParent(owner != nullptr ? owner->windowHandle() : nullptr);
    }
}

void TForm::Hide() { setVisible(false); }

void TForm::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    // Division truncates toward zero; a window larger than the screen keeps
    // its frame's top-left corner on the screen.
    const int x = qMax(area.left(), area.left() + (area.width() - Width()) / 2);
    const int y = qMax(area.top(), area.top() + (area.height() - Height()) / 2);
    move(x, y);  // a window's position is that of its frame
}

void TForm::setVisible(bool visible) {
    if (changingFlags_ || inVisibility_ || visible == isVisible()) {
        QWidget::setVisible(visible);
        return;
    }
    inVisibility_ = true;
    if (visible) {
        // FormShow runs while the window is still hidden; it is shown even
        // when FormShow fails. Centring uses the size FormShow left.
        RunGuarded([this] { FormShow(); });
        if (!placed_) {
            CentreOnScreen();
            placed_ = true;
        }
        QWidget::setVisible(true);
    } else {
        // Taken while the window is still framed: see FrameMargins.
        const QMargins frame = NativeFrameMargins();
        if (!frame.isNull()) shownFrame_ = frame;
        QWidget::setVisible(false);
        RunGuarded([this] { FormHide(); });
    }
    inVisibility_ = false;
}

void TForm::Close() {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) return;
    if (MainForm() == this) {
        Hide();
        QCoreApplication::exit(0);
        return;
    }
    Hide();
}

void TForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A disabled window is never the active one while a window it owns is
    // shown: a click on it (which a window manager answers by activating it)
    // activates the owned window instead.
    if (event->type() != QEvent::ActivationChange || enabled_ || !isActiveWindow()) return;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* form = qobject_cast<TForm*>(widget);
        if (form != nullptr && form->owner_ == this && form->isVisible()) {
            form->raise();
            form->activateWindow();
            return;
        }
    }
}

void TForm::closeEvent(QCloseEvent* event) {
    // The window is never destroyed or hidden by Qt itself: a close request
    // from the desktop goes through Close(), under the handler guard.
    event->ignore();
    if (!enabled_) return;
    RunGuarded([this] { Close(); });
}

void TForm::keyPressEvent(QKeyEvent* event) {
    // No button of these windows is a default button, so Qt's push button
    // leaves Enter alone and it arrives here. The desktop the game comes from
    // clicks the button that has the focus. A held key clicks once.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (enter && button != nullptr && button->isEnabled() && button->isVisible()) {
        event->accept();
        if (!event->isAutoRepeat()) button->click();
        return;
    }
    QWidget::keyPressEvent(event);
    RunGuarded([&] { FormKeyDown(event->key(), event->modifiers(), event->isAutoRepeat()); });
}

}  // namespace framework
