// TPictureButton: a push button whose face is a solid colour inside up to two
// one-pixel bevels, with an optional picture and caption. It is the panel that
// forms each cell of the board.
//
// The look is a small state machine: the style gives the bevels at rest, a left
// press (or Space) changes them, the pointer entering and leaving changes them
// for the hover styles and may swap the face colour, and the keyboard focus is
// shown in one of three ways. Nothing in the look depends on Enabled, so
// enabling and disabling the control never repaints it.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "framework/Color.h"

// Bevel style; the comment gives the look at rest.
enum TButtonStyle : std::uint8_t {
    bsNone,       // flat
    bsLowered,    // one sunken line
    bsRaised,     // one raised line
    bsFrame,      // raised outer line, sunken inner line
    bsGroove,     // sunken outer line, raised inner line
    bsIELike,     // flat; raised while hovered
    bsSpBtnLike,  // flat; raised while hovered
    bsStdButton,  // a two-pixel standard push-button frame
};

// How the keyboard focus shows.
enum TFocusStyle : std::uint8_t {
    bfsNone,       // not at all
    bfsStdButton,  // dotted focus rectangle
    bfsInColor,    // face painted in InColor
};

// One bevel line.
enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

class TPictureButton : public QWidget {
    Q_OBJECT

  public:
    // Keys and mouse buttons held when an event happened; ssDouble marks the
    // press of a double click.
    enum ShiftFlag : unsigned {
        ssShift = 0x01,
        ssAlt = 0x02,
        ssCtrl = 0x04,
        ssLeft = 0x08,
        ssRight = 0x10,
        ssMiddle = 0x20,
        ssDouble = 0x40,
    };
    using TShiftState = unsigned;  // a set of ShiftFlag bits

    using TNotifyEvent = std::function<void(QObject* Sender)>;
    using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button,
                                           TShiftState Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;

    // 36 x 36, bsStdButton, face clBtnFace, InColor cl3DLight, no caption, no
    // picture, no tab stop. Giving the control a name (setObjectName) never
    // changes its caption.
    explicit TPictureButton(QWidget* owner = nullptr);
    ~TPictureButton() override;

    TButtonStyle ButtonStyle() const { return buttonStyle_; }
    void setButtonStyle(TButtonStyle style);
    bool ColorChange() const { return colorChange_; }
    void setColorChange(bool on);
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The caption's colour; clWindowText (the default) follows the palette.
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor color) { Assign(fontColor_, color); }
    TFocusStyle FocusStyle() const { return focusStyle_; }
    void setFocusStyle(TFocusStyle style);
    const QImage& Picture() const { return picture_; }
    void setPicture(const QImage& picture);
    TColor InColor() const { return inColor_; }
    // A plain write: no repaint, the colour shown now stays.
    void setInColor(TColor color) { inColor_ = color; }
    TColor Color() const { return color_; }
    void setColor(TColor color);
    int PictureLeft() const { return pictureLeft_; }
    void setPictureLeft(int x);
    int PictureTop() const { return pictureTop_; }
    void setPictureTop(int y);
    int CaptionLeft() const { return captionLeft_; }
    void setCaptionLeft(int x);
    int CaptionTop() const { return captionTop_; }
    void setCaptionTop(int y);
    bool Stretch() const { return stretch_; }
    void setStretch(bool on);
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void setTabStop(bool on);

    // Current bevels and the colour shown at rest or while hovered.
    TBevelCut BevelInner() const { return bevelInner_; }
    TBevelCut BevelOuter() const { return bevelOuter_; }
    TColor DisplayedColor() const { return displayedColor_; }

    // Ends a held state and calls OnClick.
    virtual void Click();
    // Accelerator dispatch: clicks the control when `ch` is its caption's
    // accelerator (ignoring case) and it is enabled, visible and inside a showing
    // parent. Alt+accelerator arrives here by itself; a window may also offer
    // plain typed characters. Returns whether the character was taken.
    bool DialogChar(QChar ch);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseMoveEvent OnMouseEnter;
    TMouseMoveEvent OnMouseLeave;

  protected:
    virtual void MouseEnter(TShiftState shift, int x, int y);
    virtual void MouseLeave(TShiftState shift, int x, int y);
    virtual void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    // Stores a property and invalidates, only when the value changes.
    template <typename T>
    void Assign(T& field, T value) {
        if (field == value) return;
        field = value;
        update();
    }
    void setBevelInner(TBevelCut cut);
    void setBevelOuter(TBevelCut cut);
    void setDisplayedColor(TColor color);
    void ApplyPressBevels(bool pressing);
    void TrackPointer(QPoint pos);
    void SetPointerInside(bool inside);
    bool CursorInside() const { return pointerInside_; }
    bool HasCapture() const;
    int PressOffset() const { return (pressed_ ? 1 : 0) + pressCorrection_; }
    TColor FaceColor() const;
    void UpdateAccelerator();
    void DrawButton(QPainter& canvas);
    void DrawPicture(QPainter& canvas, TColor face, int o);
    void DrawCaption(QPainter& canvas, int o);

    TButtonStyle buttonStyle_ = bsStdButton;
    bool colorChange_ = true;
    QImage picture_;
    QImage drawnPicture_;  // picture_ with its transparency applied, premultiplied
    TColor inColor_ = cl3DLight;
    TColor color_ = clBtnFace;
    bool stretch_ = false;
    TFocusStyle focusStyle_ = bfsStdButton;
    bool pressed_ = false;
    int pressCorrection_ = 0;  // -1 while held with the pointer outside (hover styles)
    int captionLeft_ = -1;     // -1: centred
    int pictureLeft_ = -1;
    int pictureTop_ = -1;
    int captionTop_ = -1;

    QString caption_;
    TColor fontColor_ = clWindowText;
    int acceleratorShortcut_ = 0;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvNone;
    TColor displayedColor_ = clBtnFace;
    // Once a caption has been drawn the background no longer paints itself
    // (until the displayed colour changes); only the stretched picture sees it.
    bool backgroundClear_ = false;
    bool pointerInside_ = false;
    bool captured_ = false;      // between a left press and its release
    bool clickPending_ = false;  // a single left press waits for its release
};
