#include "controls/URLLink.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "framework/qt/Platform.h"
#include "framework/qt/SysColors.h"

// The small window that shows the link target next to the pointer: borderless,
// above every other window, never activated (the focus stays where it was),
// and not owned by any window.
class TURLHintWindow : public QWidget {
  public:
    TURLHintWindow()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setObjectName(QStringLiteral("HintForm"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
    }

    // Background, font and text for the next showing.
    void SetUp(TColor background, const TLinkFont& font, const QString& text) {
        background_ = background;
        textColor_ = font.Color;
        text_ = text;
        setFont(font.Font);
        update();
    }

  protected:
    // The text sits at (2, 2) on the background colour.
    void paintEvent(QPaintEvent*) override {
        QPainter canvas(this);
        canvas.fillRect(rect(), framework::ColorToQColor(background_));
        canvas.setFont(font());
        canvas.setPen(framework::ColorToQColor(textColor_));
        canvas.drawText(2, 2 + fontMetrics().ascent(), text_);
    }

  private:
    TColor background_ = clInfoBk;
    TColor textColor_ = clWindowText;
    QString text_;
};

namespace {

// The caption as drawn: CR LF, CR and LF break the line; "&&" is one "&" and
// any other "&" only marks the accelerator.
QString DisplayText(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < caption.size() && caption[i + 1] == u'\n') ++i;
        } else if (c == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

TURLLink::TURLLink(QWidget* owner) : QLabel(owner), hintForm_(new TURLHintWindow) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    setAutoFillBackground(true);  // a label is opaque until made transparent
    urlType_ = tpURL;
    setCursor(Qt::PointingHandCursor);
    link_ = QStringLiteral("http://");
    fontColor_ = clBlue;
    hintFormFont_.Font = QApplication::font();
    ApplyColors();
    AutoSize();
}

TURLLink::~TURLLink() = default;

void TURLLink::setURLType(TURLtype type) { Assign(urlType_, type); }
void TURLLink::setLink(const QString& link) { Assign(link_, link); }
void TURLLink::setLinkColor(TColor color) { Assign(linkColor_, color); }
void TURLLink::setHintFormColor(TColor color) { Assign(hintFormColor_, color); }
void TURLLink::setHintOffsetX(int x) { Assign(hintOffsetX_, x); }
void TURLLink::setHintOffsetY(int y) { Assign(hintOffsetY_, y); }
void TURLLink::setEnableShowHint(bool on) { Assign(enableShowHint_, on); }

void TURLLink::setHintFormFont(const TLinkFont& font) {
    if (&font == &hintFormFont_) return;
    hintFormFont_ = font;
    update();
}

void TURLLink::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    setText(DisplayText(caption));
    AutoSize();
    update();
}

void TURLLink::setFontColor(TColor color) {
    if (color == fontColor_) return;
    fontColor_ = color;
    ApplyColors();
    update();
}

void TURLLink::setTransparent(bool on) {
    if (on == Transparent()) return;
    setAutoFillBackground(!on);
    update();
}

void TURLLink::setColor(TColor color) {
    if (!parentColor_ && color == color_) return;
    color_ = color;
    parentColor_ = false;
    ApplyColors();
    update();
}

QWidget* TURLLink::HintForm() const { return hintForm_.get(); }

void TURLLink::MouseEnter() {
    savedFontColor_ = fontColor_;
    setFontColor(linkColor_);
    update();
}

void TURLLink::MouseLeave() {
    setFontColor(savedFontColor_);
    update();
    HideHint();
}

// The hint appears once, where the pointer first moved, and stays there until
// it is hidden: it does not follow the pointer.
void TURLLink::MouseMove() {
    if (!enableShowHint_ || hintShown_) return;
    const QPoint cursor = QCursor::pos();
    hintForm_->SetUp(hintFormColor_, hintFormFont_, link_);
    const QFontMetrics metrics = hintForm_->fontMetrics();
    hintForm_->resize(metrics.horizontalAdvance(link_) + 6, metrics.height() + 3);
    hintForm_->move(cursor.x() + hintOffsetX_, cursor.y() + hintOffsetY_);
    hintForm_->show();
    hintShown_ = true;
}

// The target opens on the press, not on the release. An empty target is not
// handed over: the desktop would take it for the current folder.
void TURLLink::MouseDown(Qt::MouseButton button) {
    if (button != Qt::LeftButton) return;
    const QString target = urlType_ == tpMAIL ? QStringLiteral("mailto:") + link_ : link_;
    if (!target.isEmpty()) framework::ShellExecuteOpen(target);
    HideHint();
}

void TURLLink::HideHint() {
    if (!hintShown_) return;
    hintForm_->hide();
    hintShown_ = false;
}

void TURLLink::ApplyColors() {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, framework::ColorToQColor(fontColor_));
    if (!parentColor_) p.setColor(QPalette::Window, framework::ColorToQColor(color_));
    setPalette(p);
}

void TURLLink::AutoSize() { resize(sizeHint()); }

void TURLLink::enterEvent(QEnterEvent* e) {
    QLabel::enterEvent(e);
    MouseEnter();
}

void TURLLink::leaveEvent(QEvent* e) {
    QLabel::leaveEvent(e);
    MouseLeave();
}

void TURLLink::mousePressEvent(QMouseEvent* e) {
    update();
    QLabel::mousePressEvent(e);
    e->accept();
    MouseDown(e->button());
}

void TURLLink::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    MouseMove();
}

void TURLLink::changeEvent(QEvent* e) {
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange) AutoSize();
    // System colours follow the application palette.
    if (e->type() == QEvent::ApplicationPaletteChange) ApplyColors();
}
