#include "controls/PictBtn.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <cmath>

#include "framework/qt/FocusRect.h"
#include "framework/qt/HandlerGuard.h"
#include "framework/qt/SysColors.h"

namespace {

// A rectangle as the drawing rules see it: right and bottom lie just outside.
struct Rect {
    int left, top, right, bottom;
    void Inflate(int d) {
        left -= d;
        top -= d;
        right += d;
        bottom += d;
    }
};

void Fill(QPainter& canvas, int left, int top, int right, int bottom, const QColor& color) {
    if (right > left && bottom > top) canvas.fillRect(left, top, right - left, bottom - top, color);
}

// A one-pixel frame: the left edge and the top edge (up to, not including, the
// top-right corner) in `topLeft`, then the right edge and the bottom edge in
// `bottomRight`, so the top-right and bottom-left corners take `bottomRight`.
// The rectangle then shrinks by one on every side.
void Frame3D(QPainter& canvas, Rect& r, TColor topLeft, TColor bottomRight) {
    const int right = r.right - 1;
    const int bottom = r.bottom - 1;
    const QColor tl = framework::ColorToQColor(topLeft);
    const QColor br = framework::ColorToQColor(bottomRight);
    Fill(canvas, r.left, r.top, r.left + 1, bottom + 1, tl);
    Fill(canvas, r.left, r.top, right, r.top + 1, tl);
    Fill(canvas, right, r.top, right + 1, bottom + 1, br);
    Fill(canvas, r.left, bottom, right + 1, bottom + 1, br);
    r.Inflate(-1);
}

void DrawBevel(QPainter& canvas, Rect& r, TBevelCut cut) {
    if (cut == bvLowered) Frame3D(canvas, r, clBtnShadow, clBtnHighlight);
    if (cut == bvRaised) Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
}

// A picture is drawn transparently: its own alpha if it has one, otherwise
// the colour of its bottom-left pixel is the see-through colour (as with a
// transparent bitmap).
QImage TransparentPicture(const QImage& picture) {
    if (picture.isNull()) return {};
    if (picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1) & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & RGB_MASK) == key) line[x] = 0;
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Centre of a free span, halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
int CentreRoundedToEven(int span, int size) {
    return static_cast<int>(std::nearbyint((span - size) * 0.5));
}

// The accelerator of a caption: the character after a single "&" ("&&" shows
// an "&"); with several, the last one counts. Null when there is none.
QChar AcceleratorOf(const QString& caption) {
    QChar result;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        ++i;
        if (caption[i] != u'&') result = caption[i];
    }
    return result;
}

TPictureButton::TShiftState ShiftOf(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons) {
    TPictureButton::TShiftState s = 0;
    if (keys & Qt::ShiftModifier) s |= TPictureButton::ssShift;
    if (keys & Qt::AltModifier) s |= TPictureButton::ssAlt;
    if (keys & Qt::ControlModifier) s |= TPictureButton::ssCtrl;
    if (buttons & Qt::LeftButton) s |= TPictureButton::ssLeft;
    if (buttons & Qt::RightButton) s |= TPictureButton::ssRight;
    if (buttons & Qt::MiddleButton) s |= TPictureButton::ssMiddle;
    return s;
}

// Keys and buttons held right now, not as of some queued event.
TPictureButton::TShiftState CurrentShiftState() {
    return ShiftOf(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

bool LeftButtonDown() { return QGuiApplication::mouseButtons() & Qt::LeftButton; }

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

TPictureButton::TPictureButton(QWidget* owner) : QWidget(owner) {
    // Every pixel is painted each time; hover and press need the pointer moves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    resize(36, 36);
}

TPictureButton::~TPictureButton() = default;

void TPictureButton::setButtonStyle(TButtonStyle style) {
    if (style == buttonStyle_) return;
    static constexpr TBevelCut kRestInner[] = {bvNone,   bvNone, bvNone, bvLowered,
                                               bvRaised, bvNone, bvNone, bvNone};
    static constexpr TBevelCut kRestOuter[] = {bvNone,    bvLowered, bvRaised, bvRaised,
                                               bvLowered, bvNone,    bvNone,   bvNone};
    setBevelInner(kRestInner[style]);
    setBevelOuter(kRestOuter[style]);
    buttonStyle_ = style;
}

void TPictureButton::setColorChange(bool on) { Assign(colorChange_, on); }

void TPictureButton::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    UpdateAccelerator();
    update();
}

void TPictureButton::setFocusStyle(TFocusStyle style) { Assign(focusStyle_, style); }

void TPictureButton::setPicture(const QImage& picture) {
    if (&picture == &picture_) return;
    picture_ = picture;
    drawnPicture_ = TransparentPicture(picture_);
    update();
}

void TPictureButton::setColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    setDisplayedColor(color);
    update();
}

void TPictureButton::setPictureLeft(int x) { Assign(pictureLeft_, x); }

void TPictureButton::setPictureTop(int y) { Assign(pictureTop_, y); }

void TPictureButton::setCaptionLeft(int x) { Assign(captionLeft_, x); }

void TPictureButton::setCaptionTop(int y) { Assign(captionTop_, y); }

void TPictureButton::setStretch(bool on) { Assign(stretch_, on); }

void TPictureButton::setTabStop(bool on) { setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus); }

// Setting a bevel always invalidates, even to the value it has.
void TPictureButton::setBevelInner(TBevelCut cut) {
    bevelInner_ = cut;
    update();
}

void TPictureButton::setBevelOuter(TBevelCut cut) {
    bevelOuter_ = cut;
    update();
}

void TPictureButton::setDisplayedColor(TColor color) {
    if (color == displayedColor_) return;
    displayedColor_ = color;
    backgroundClear_ = false;  // a new background colour makes the background solid again
    update();
}

void TPictureButton::ApplyPressBevels(bool pressing) {
    switch (buttonStyle_) {
        case bsNone:
            setBevelOuter(pressing ? bvLowered : bvNone);
            break;
        case bsLowered:
            setBevelInner(pressing ? bvLowered : bvNone);
            break;
        case bsRaised:
            setBevelOuter(pressing ? bvLowered : bvRaised);
            break;
        case bsFrame:
            setBevelOuter(pressing ? bvNone : bvRaised);
            break;
        case bsGroove:
            setBevelInner(pressing ? bvNone : bvRaised);
            break;
        case bsIELike:
            setBevelOuter(pressing ? bvLowered : (CursorInside() ? bvRaised : bvNone));
            break;
        case bsSpBtnLike:
            setBevelOuter(pressing ? bvLowered : (bevelOuter_ == bvRaised ? bvNone : bvRaised));
            break;
        case bsStdButton:
            break;
    }
}

bool TPictureButton::HasCapture() const { return captured_ || QWidget::mouseGrabber() == this; }

TColor TPictureButton::FaceColor() const {
    TColor face = displayedColor_;
    if (pressed_) face = pressCorrection_ != 0 ? color_ : inColor_;
    if (focusStyle_ == bfsInColor && hasFocus()) face = inColor_;
    return face;
}

void TPictureButton::UpdateAccelerator() {
    if (acceleratorShortcut_ != 0) releaseShortcut(acceleratorShortcut_);
    acceleratorShortcut_ = 0;
    const QChar accel = AcceleratorOf(caption_);
    if (accel.isNull()) return;
    const auto key = static_cast<Qt::Key>(accel.toUpper().unicode());
    acceleratorShortcut_ = grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, key)));
}

// ---- Pointer ----

// Enter and leave as the pointer crosses the client rectangle. The window
// system reports them for a free pointer; while this control holds the mouse
// after a left press it reports none, so the moves it still receives decide.
void TPictureButton::TrackPointer(QPoint pos) { SetPointerInside(rect().contains(pos)); }

void TPictureButton::SetPointerInside(bool inside) {
    if (inside == pointerInside_) return;
    pointerInside_ = inside;
    const TShiftState shift = CurrentShiftState();
    const QPoint at = mapFromGlobal(QCursor::pos());
    if (inside) {
        MouseEnter(shift, at.x(), at.y());
    } else {
        MouseLeave(shift, at.x(), at.y());
    }
}

// Every entry from Qt below runs the control's handling, and the handlers
// assigned to it, under the handler guard: an exception from a handler (a
// move, say) shows the error box and skips the rest of that event, and never
// travels through Qt's event dispatch.

void TPictureButton::enterEvent(QEnterEvent* e) {
    framework::RunGuarded([&] { SetPointerInside(true); });
    QWidget::enterEvent(e);
}

void TPictureButton::leaveEvent(QEvent* e) {
    framework::RunGuarded([&] { SetPointerInside(false); });
    QWidget::leaveEvent(e);
}

void TPictureButton::MouseEnter(TShiftState shift, int x, int y) {
    if (OnMouseEnter) OnMouseEnter(this, shift, x, y);
    if (buttonStyle_ == bsIELike || buttonStyle_ == bsSpBtnLike) {
        setBevelOuter(LeftButtonDown() ? bvLowered : bvRaised);
        pressCorrection_ = 0;
        repaint();
    } else if (buttonStyle_ == bsStdButton && HasCapture()) {
        pressCorrection_ = 0;
        repaint();
    }
    if (colorChange_) setDisplayedColor(inColor_);
}

void TPictureButton::MouseLeave(TShiftState shift, int x, int y) {
    if (OnMouseLeave) OnMouseLeave(this, shift, x, y);
    if (buttonStyle_ == bsIELike) setBevelOuter(bvNone);
    if (buttonStyle_ == bsSpBtnLike) setBevelOuter(LeftButtonDown() ? bvRaised : bvNone);
    if (buttonStyle_ == bsIELike || buttonStyle_ == bsSpBtnLike || buttonStyle_ == bsStdButton) {
        pressCorrection_ = pressed_ ? -1 : 0;
        repaint();
    }
    if (colorChange_) setDisplayedColor(color_);
}

// ---- Mouse ----

void TPictureButton::mousePressEvent(QMouseEvent* e) {
    framework::RunGuarded([&] {
        const QPoint pos = e->position().toPoint();
        TrackPointer(pos);
        if (e->button() == Qt::LeftButton) {
            captured_ = true;
            clickPending_ = true;
        }
        MouseDown(e->button(), ShiftOf(e->modifiers(), e->buttons()), pos.x(), pos.y());
    });
}

// The second press of a fast double click: OnDblClick (left button only), then
// a press marked as double, whose release gives no click.
void TPictureButton::mouseDoubleClickEvent(QMouseEvent* e) {
    framework::RunGuarded([&] {
        const QPoint pos = e->position().toPoint();
        TrackPointer(pos);
        if (e->button() == Qt::LeftButton) {
            captured_ = true;
            clickPending_ = false;
            if (OnDblClick) OnDblClick(this);
        }
        MouseDown(e->button(), ShiftOf(e->modifiers(), e->buttons()) | ssDouble, pos.x(), pos.y());
    });
}

void TPictureButton::mouseReleaseEvent(QMouseEvent* e) {
    framework::RunGuarded([&] {
        const QPoint pos = e->position().toPoint();
        TrackPointer(pos);
        if (e->button() == Qt::LeftButton) {
            captured_ = false;
            const bool click = clickPending_ && rect().contains(pos);
            clickPending_ = false;
            if (click) Click();
        }
        MouseUp(e->button(), ShiftOf(e->modifiers(), e->buttons()), pos.x(), pos.y());
    });
}

void TPictureButton::mouseMoveEvent(QMouseEvent* e) {
    framework::RunGuarded([&] {
        const QPoint pos = e->position().toPoint();
        TrackPointer(pos);
        if (OnMouseMove) OnMouseMove(this, ShiftOf(e->modifiers(), e->buttons()), pos.x(), pos.y());
    });
}

void TPictureButton::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) {
    if (button == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        ApplyPressBevels(true);
        pressed_ = true;
        repaint();
    }
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TPictureButton::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y) {
    if (button == Qt::LeftButton) {
        ApplyPressBevels(false);
        pressed_ = false;
        pressCorrection_ = 0;
        repaint();  // drawn released before the handler runs
    }
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TPictureButton::Click() {
    pressed_ = false;
    ApplyPressBevels(false);
    update();
    if (OnClick) OnClick(this);
}

// ---- Keyboard, accelerator, focus ----

void TPictureButton::keyPressEvent(QKeyEvent* e) {
    int key = e->key();
    framework::RunGuarded(
        [&] { KeyDown(key, ShiftOf(e->modifiers(), QGuiApplication::mouseButtons())); });
    if (key == Qt::Key_Space || IsEnterKey(key)) {
        e->accept();
    } else {
        e->ignore();
    }
}

void TPictureButton::keyReleaseEvent(QKeyEvent* e) {
    // Auto-repeat repeats key-downs only; the release comes once, at the end.
    if (e->isAutoRepeat()) {
        e->ignore();
        return;
    }
    int key = e->key();
    framework::RunGuarded(
        [&] { KeyUp(key, ShiftOf(e->modifiers(), QGuiApplication::mouseButtons())); });
    if (key == Qt::Key_Space) {
        e->accept();
    } else {
        e->ignore();
    }
}

void TPictureButton::KeyDown(int& key, TShiftState /*shift*/) {
    if (!isEnabled()) return;
    if (key == Qt::Key_Space) {
        if (pressed_) return;  // auto-repeat
        pressed_ = true;
        ApplyPressBevels(true);
        update();
    } else if (IsEnterKey(key)) {
        ApplyPressBevels(true);
        pressed_ = true;
        update();
        const auto release = [this] {
            ApplyPressBevels(false);
            pressed_ = false;
            update();
        };
        try {
            Click();
        } catch (...) {
            release();
            throw;
        }
        release();
    } else if (pressed_) {
        // Any other key cancels a held press; the press correction stays.
        pressed_ = false;
        ApplyPressBevels(false);
        update();
    }
}

void TPictureButton::KeyUp(int& key, TShiftState /*shift*/) {
    if (!pressed_ || key != Qt::Key_Space) return;
    pressed_ = false;
    ApplyPressBevels(false);
    update();
    try {
        Click();
    } catch (...) {
        update();
        throw;
    }
    update();
}

bool TPictureButton::DialogChar(QChar ch) {
    const QChar accel = AcceleratorOf(caption_);
    if (accel.isNull() || accel.toUpper() != ch.toUpper()) return false;
    const QWidget* parent = parentWidget();
    if (!isEnabled() || !isVisible() || parent == nullptr || !parent->isVisible()) return false;
    Click();
    return true;
}

void TPictureButton::focusInEvent(QFocusEvent* /*e*/) {
    framework::RunGuarded([this] { DoEnter(); });
}

void TPictureButton::focusOutEvent(QFocusEvent* /*e*/) {
    framework::RunGuarded([this] { DoExit(); });
}

void TPictureButton::DoEnter() {
    update();
    if (OnEnter) OnEnter(this);
}

void TPictureButton::DoExit() {
    update();
    if (OnExit) OnExit(this);
}

bool TPictureButton::event(QEvent* e) {
    if (e->type() == QEvent::Shortcut) {
        auto* se = static_cast<QShortcutEvent*>(e);
        if (acceleratorShortcut_ != 0 && se->shortcutId() == acceleratorShortcut_) {
            framework::RunGuarded([this] { DialogChar(AcceleratorOf(caption_)); });
            return true;
        }
    }
    return QWidget::event(e);
}

void TPictureButton::changeEvent(QEvent* e) {
    // The look does not depend on Enabled: no repaint when it changes.
    if (e->type() == QEvent::EnabledChange) return;
    QWidget::changeEvent(e);
}

void TPictureButton::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (OnResize) framework::RunGuarded([this] { OnResize(this); });
}

// ---- Painting ----

void TPictureButton::paintEvent(QPaintEvent* /*e*/) {
    // The widget is painted through Qt's back buffer, so the face, picture,
    // caption, frame and focus rectangle reach the screen in one step.
    QPainter canvas(this);
    DrawButton(canvas);
}

void TPictureButton::DrawButton(QPainter& canvas) {
    const int w = width();
    const int h = height();
    const int o = PressOffset();
    Rect r{0, 0, w, h};
    DrawBevel(canvas, r, bevelOuter_);
    DrawBevel(canvas, r, bevelInner_);

    const TColor face = FaceColor();
    Fill(canvas, r.left, r.top, r.right, r.bottom, framework::ColorToQColor(face));
    if (!drawnPicture_.isNull()) DrawPicture(canvas, face, o);
    if (!caption_.isEmpty()) DrawCaption(canvas, o);

    if (buttonStyle_ == bsStdButton) {
        // Drawn over face, picture and caption. o is -1 when a key cancelled a
        // press whose pointer had left: that too shows sunken.
        r = Rect{0, 0, w, h};
        if (o != 0 && o < 2) {
            Frame3D(canvas, r, clBtnShadow, clBtnShadow);
            Frame3D(canvas, r, clBtnFace, clBtnFace);
        } else {
            Frame3D(canvas, r, cl3DLight, cl3DDkShadow);
            Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
        }
    } else {
        r = Rect{0, 0, w, h};
        r.Inflate(-o);
    }

    if (focusStyle_ == bfsStdButton && hasFocus()) {
        r.Inflate(-2);
        framework::DrawFocusRect(canvas,
                                 QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
    }
}

void TPictureButton::DrawPicture(QPainter& canvas, TColor face, int o) {
    const int w = width();
    const int h = height();
    if (!stretch_) {
        // A picture drawn for a finer screen is as wide as its pixels on it.
        const QSize size = drawnPicture_.deviceIndependentSize().toSize();
        const int x = pictureLeft_ != -1 ? pictureLeft_ : CentreRoundedToEven(w, size.width());
        const int y = pictureTop_ != -1 ? pictureTop_ : CentreRoundedToEven(h, size.height());
        canvas.drawImage(x + o, y + o, drawnPicture_);
        return;
    }
    // Stretched: the picture is first laid on its own background (the face,
    // then the control's background unless a caption has cleared it), then
    // scaled into the face whatever the bevels.
    QImage sheet(drawnPicture_.size(), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    {
        QPainter p(&sheet);
        p.fillRect(QRect(0, 0, w, h), framework::ColorToQColor(face));
        if (!backgroundClear_)
            p.fillRect(QRect(0, 0, w, h), framework::ColorToQColor(displayedColor_));
        p.drawImage(0, 0, drawnPicture_);
    }
    const QRect target(QPoint(2 + o, 2 + o), QPoint(w - 4 - 1, h - 4 - 1));
    if (target.isValid()) canvas.drawImage(target, sheet);
}

void TPictureButton::DrawCaption(QPainter& canvas, int o) {
    const int w = width();
    const int h = height();
    canvas.save();
    canvas.setFont(font());
    canvas.setPen(fontColor_ == clWindowText
                      ? palette().color(QPalette::Active, QPalette::WindowText)
                      : framework::ColorToQColor(fontColor_));
    backgroundClear_ = true;

    const QRect extent = QFontMetrics(font()).boundingRect(QRect(), Qt::TextShowMnemonic, caption_);
    const int x = captionLeft_ != -1 ? captionLeft_ : (w - extent.width()) / 2;
    const int y = captionTop_ != -1 ? captionTop_ : (h - extent.height()) / 2;
    const QRect box(QPoint(x + o, y + o), QPoint(w - 1, h - 1));
    if (box.isValid()) {
        canvas.setClipRect(box, Qt::IntersectClip);
        canvas.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, caption_);
    }
    canvas.restore();
}
