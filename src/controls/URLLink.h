// TURLLink: a label that works as a hyperlink. While the pointer is over it
// the text takes LinkColor (and gets the previous colour back on leaving),
// the pointer is a hand, a small window next to the pointer can show the
// target, and a left press hands the target to the desktop: a web address as
// it is, an e-mail address with "mailto:" in front.
//
// What is shown is always the caption; Link is only the target.
#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <cstdint>
#include <memory>

#include "framework/Color.h"

// How Link is opened.
enum TURLtype : std::uint8_t {
    tpURL,   // a web address, opened as it is
    tpMAIL,  // a bare e-mail address, opened as "mailto:" + address
};

// A font together with its colour, as the hint window draws with it.
struct TLinkFont {
    QFont Font;
    TColor Color = clWindowText;
};

class TURLHintWindow;

class TURLLink : public QLabel {
    Q_OBJECT

  public:
    // tpURL, Link "http://", text clBlue, LinkColor clRed, hint offsets 15 and
    // 15, hint background clInfoBk, hint enabled, the hand pointer.
    explicit TURLLink(QWidget* owner = nullptr);
    ~TURLLink() override;

    // Setters store the value and repaint only when it changes.
    TURLtype URLType() const { return urlType_; }
    void setURLType(TURLtype type);
    const QString& Link() const { return link_; }
    void setLink(const QString& link);
    TColor LinkColor() const { return linkColor_; }
    void setLinkColor(TColor color);
    TColor HintFormColor() const { return hintFormColor_; }
    void setHintFormColor(TColor color);
    int HintOffsetX() const { return hintOffsetX_; }
    void setHintOffsetX(int x);
    int HintOffsetY() const { return hintOffsetY_; }
    void setHintOffsetY(int y);
    bool EnableShowHint() const { return enableShowHint_; }
    void setEnableShowHint(bool on);

    // The control's own hint font; change it in place or assign another one.
    // Assigning copies the attributes and repaints, unless `font` is the
    // control's own object, which changes nothing.
    TLinkFont* HintFormFont() { return &hintFormFont_; }
    const TLinkFont* HintFormFont() const { return &hintFormFont_; }
    void setHintFormFont(const TLinkFont& font);

    // The label's own properties. The caption shows CR LF (or a lone CR or
    // LF) as a line break and "&" as the accelerator marker ("&&" shows one
    // "&"); the control sizes itself to its caption and font.
    const QString& Caption() const { return caption_; }
    void setCaption(const QString& caption);
    TColor FontColor() const { return fontColor_; }
    void setFontColor(TColor color);
    bool Transparent() const { return !autoFillBackground(); }
    void setTransparent(bool on);
    // The background when not transparent; the parent's until one is set.
    TColor Color() const { return color_; }
    void setColor(TColor color);

    // The hint window (for looking at it) and whether it is showing now.
    QWidget* HintForm() const;
    bool HintShown() const { return hintShown_; }

  protected:
    virtual void MouseDown(Qt::MouseButton button);
    virtual void MouseMove();
    virtual void MouseEnter();
    virtual void MouseLeave();

    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

  private:
    template <typename T>
    void Assign(T& field, const T& value) {
        if (field == value) return;
        field = value;
        update();
    }
    void HideHint();
    void ApplyColors();
    void AutoSize();

    std::unique_ptr<TURLHintWindow> hintForm_;
    bool hintShown_ = false;
    TURLtype urlType_ = tpURL;
    QString link_;
    TColor savedFontColor_ = clBlue;
    TColor linkColor_ = clRed;
    TColor hintFormColor_ = clInfoBk;
    int hintOffsetX_ = 15;
    int hintOffsetY_ = 15;
    bool enableShowHint_ = true;
    TLinkFont hintFormFont_;

    QString caption_;
    TColor fontColor_ = clBlue;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
};
