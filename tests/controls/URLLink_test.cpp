// The link label: its colours under the pointer, the hint window, what a press
// hands to the desktop, and which property writes repaint it.
#include "controls/URLLink.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <memory>
#include <vector>

#include "framework/qt/Platform.h"
#include "framework/qt/SysColors.h"
#include "support/Mouse.h"
#include "support/QtPrinters.h"

namespace {

using testsupport::Mouse;

class CountingLink : public TURLLink {
  public:
    using TURLLink::TURLLink;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        TURLLink::paintEvent(e);
    }
};

QFont PlainFont(int pixels) {
    QFont f;
    f.setPixelSize(pixels);
    f.setStyleStrategy(QFont::NoAntialias);  // every text pixel in the exact colour
    return f;
}

// How many pixels of `image` inside `area` have exactly the colour `c`.
int CountColour(const QImage& image, QRgb c, QRect area = {}) {
    if (area.isNull()) area = image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == c) ++n;
        }
    }
    return n;
}

class URLLinkTest : public testing::Test {
  protected:
    void SetUp() override {
        savedPalette_ = QApplication::palette();
        QPalette p = savedPalette_;
        p.setColor(QPalette::Dark, QColor(0x80, 0x20, 0x20));         // clBtnShadow
        p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFE, 0xE0));  // clInfoBk
        p.setColor(QPalette::WindowText, QColor(0x10, 0x10, 0x10));
        p.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
        QApplication::setPalette(p);
        previousHook_ = framework::SetShellOpenHook([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });

        QCursor::setPos(3000, 3000);
        mouse_.Pause();
        host_ = std::make_unique<QWidget>();
        host_->resize(300, 120);
        link_ = new CountingLink(host_.get());
        link_->move(10, 10);
        link_->setFont(PlainFont(16));
        link_->setCaption(QStringLiteral("Horonpa web page"));
        other_ = new QWidget(host_.get());
        other_->setGeometry(10, 80, 40, 30);
        host_->show();
        host_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host_.get()));
        Settle();
    }

    void TearDown() override {
        host_.reset();
        framework::SetShellOpenHook(previousHook_);
        QCursor::setPos(3000, 3000);
        QApplication::setPalette(savedPalette_);
        QApplication::processEvents();
    }

    // Moves the pointer (the desktop's cursor) to `p` in `w`'s coordinates.
    void PointAt(QWidget* w, QPoint p) {
        QCursor::setPos(w->mapToGlobal(p));
        QApplication::processEvents();
    }
    void Settle() {
        QApplication::processEvents();
        link_->paints = 0;
    }
    // Whether the control was painted since the last Settle(). A repaint
    // request may be served a little later than the event that made it, so
    // give it a short while before deciding there was none.
    bool Painted() {
        return QTest::qWaitFor([&] { return link_->paints > 0; }, 60);
    }
    QImage Grab(QWidget* w) const {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static QRgb Rgb(TColor c) { return framework::ColorToQColor(c).rgb(); }
    QWidget* Hint() const { return link_->HintForm(); }

    std::vector<QUrl> opened;
    std::unique_ptr<QWidget> host_;
    CountingLink* link_ = nullptr;
    QWidget* other_ = nullptr;
    Mouse mouse_;

  private:
    QPalette savedPalette_;
    framework::ShellOpenHook previousHook_;
};

TEST_F(URLLinkTest, ConstructedState) {
    TURLLink fresh;
    EXPECT_EQ(fresh.URLType(), tpURL);
    EXPECT_EQ(fresh.Link(), QStringLiteral("http://"));
    EXPECT_EQ(fresh.FontColor(), clBlue);
    EXPECT_EQ(fresh.palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
    EXPECT_EQ(fresh.LinkColor(), clRed);
    EXPECT_EQ(fresh.HintFormColor(), clInfoBk);
    EXPECT_EQ(fresh.HintOffsetX(), 15);
    EXPECT_EQ(fresh.HintOffsetY(), 15);
    EXPECT_TRUE(fresh.EnableShowHint());
    EXPECT_FALSE(fresh.Transparent());
    EXPECT_EQ(fresh.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(fresh.HintShown());
    ASSERT_NE(fresh.HintForm(), nullptr);
    EXPECT_FALSE(fresh.HintForm()->isVisible());
    EXPECT_EQ(fresh.HintFormFont()->Color, clWindowText);
}

TEST_F(URLLinkTest, EnteringShowsLinkColourAndLeavingRestoresThePreviousOne) {
    link_->setLinkColor(0x0000A000);  // green
    for (const TColor before : {TColor{0x00345678}, clBtnShadow, clBlue}) {
        link_->setFontColor(before);
        Settle();
        ASSERT_GT(CountColour(Grab(link_), Rgb(before)), 0);

        PointAt(link_, {4, 4});
        EXPECT_EQ(link_->FontColor(), 0x0000A000u);
        EXPECT_TRUE(Painted());
        const QImage hovered = Grab(link_);
        EXPECT_GT(CountColour(hovered, qRgb(0, 0xA0, 0)), 0);
        EXPECT_EQ(CountColour(hovered, Rgb(before)), 0);

        Settle();
        PointAt(other_, {5, 5});
        EXPECT_EQ(link_->FontColor(), before) << std::hex << before;
        EXPECT_TRUE(Painted());
        EXPECT_EQ(link_->palette().color(QPalette::WindowText).rgb(), Rgb(before));
        EXPECT_EQ(CountColour(Grab(link_), qRgb(0, 0xA0, 0)), 0);
    }
}

TEST_F(URLLinkTest, HintAppearsOnTheFirstMoveBesideTheCursor) {
    link_->setLink(QStringLiteral("https://example.org/horonpa"));
    link_->HintFormFont()->Font = PlainFont(13);
    link_->HintFormFont()->Color = 0x00800000;  // navy
    link_->setHintFormColor(0x00C0FFFF);        // light yellow
    QWidget* focus = new QWidget(host_.get());
    focus->setFocusPolicy(Qt::StrongFocus);
    focus->setGeometry(200, 80, 20, 20);
    focus->show();
    focus->setFocus();
    ASSERT_TRUE(focus->hasFocus());

    PointAt(link_, {6, 5});
    const QPoint cursor = link_->mapToGlobal(QPoint(6, 5));
    ASSERT_TRUE(link_->HintShown());
    ASSERT_TRUE(Hint()->isVisible());
    EXPECT_EQ(Hint()->geometry().topLeft(), cursor + QPoint(15, 15));
    const QFontMetrics m(PlainFont(13));
    EXPECT_EQ(Hint()->size(), QSize(m.horizontalAdvance(link_->Link()) + 6, m.height() + 3));

    // Borderless, above everything, and it took neither activation nor focus.
    EXPECT_TRUE(Hint()->isWindow());
    EXPECT_TRUE(Hint()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(Hint()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Hint()->frameGeometry(), Hint()->geometry());
    EXPECT_EQ(QApplication::activeWindow(), host_.get());
    EXPECT_TRUE(focus->hasFocus());

    // The link text in its colour on the hint background, starting at (2, 2).
    const QImage hint = Grab(Hint());
    EXPECT_EQ(hint.pixel(0, 0), qRgb(0xFF, 0xFF, 0xC0));
    EXPECT_EQ(hint.pixel(hint.width() - 1, hint.height() - 1), qRgb(0xFF, 0xFF, 0xC0));
    const QRgb navy = qRgb(0, 0, 0x80);
    EXPECT_GT(CountColour(hint, navy), 0);
    EXPECT_EQ(CountColour(hint, navy, QRect(0, 0, 2, hint.height())), 0);
    EXPECT_EQ(CountColour(hint, navy, QRect(0, 0, hint.width(), 2)), 0);
    EXPECT_GT(CountColour(hint, navy, QRect(2, 2, 3, hint.height() - 2)), 0)
        << "the first letter starts at x = 2";
}

TEST_F(URLLinkTest, HintStaysWhereItFirstAppearedUntilHidden) {
    PointAt(link_, {4, 4});
    const QPoint first = Hint()->pos();
    PointAt(link_, {30, 8});
    EXPECT_EQ(Hint()->pos(), first) << "the hint does not follow the pointer";
    EXPECT_TRUE(link_->HintShown());

    PointAt(other_, {5, 5});
    EXPECT_FALSE(link_->HintShown());
    EXPECT_FALSE(Hint()->isVisible());

    PointAt(link_, {40, 6});
    ASSERT_TRUE(Hint()->isVisible());
    EXPECT_EQ(Hint()->pos(), link_->mapToGlobal(QPoint(40, 6)) + QPoint(15, 15));
}

TEST_F(URLLinkTest, HintUsesItsOffsets) {
    link_->setHintOffsetX(40);
    link_->setHintOffsetY(-25);
    PointAt(link_, {8, 8});
    ASSERT_TRUE(Hint()->isVisible());
    EXPECT_EQ(Hint()->pos(), link_->mapToGlobal(QPoint(8, 8)) + QPoint(40, -25));
}

TEST_F(URLLinkTest, HintIsPlacedByTheCursorNotByTheEventPosition) {
    link_->setEnableShowHint(false);
    PointAt(link_, {3, 3});  // the desktop's cursor is here now
    link_->setEnableShowHint(true);
    mouse_.Move(link_, {50, 9});  // an event that reports another position
    ASSERT_TRUE(Hint()->isVisible());
    EXPECT_EQ(Hint()->pos(), link_->mapToGlobal(QPoint(3, 3)) + QPoint(15, 15));
}

TEST_F(URLLinkTest, NoHintWhenDisabledAndNothingElseChanges) {
    link_->setEnableShowHint(false);
    link_->setFontColor(0x00112233);
    PointAt(link_, {4, 4});
    PointAt(link_, {20, 6});
    EXPECT_FALSE(Hint()->isVisible());
    EXPECT_FALSE(link_->HintShown());
    EXPECT_EQ(link_->FontColor(), clRed);
    mouse_.Click(link_, Qt::LeftButton, {20, 6});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://")));
    PointAt(other_, {5, 5});
    EXPECT_EQ(link_->FontColor(), 0x00112233u);
}

TEST_F(URLLinkTest, LeftPressOpensTheWebAddressAndHidesTheHint) {
    link_->setLink(QStringLiteral("https://example.org/a?b=1&c=2"));
    PointAt(link_, {4, 4});
    ASSERT_TRUE(Hint()->isVisible());
    mouse_.Press(link_, Qt::LeftButton, {4, 4});
    ASSERT_EQ(opened.size(), 1u) << "opened on the press, before any release";
    EXPECT_EQ(opened[0].toString(), QStringLiteral("https://example.org/a?b=1&c=2"));
    EXPECT_FALSE(Hint()->isVisible());
    EXPECT_FALSE(link_->HintShown());
    mouse_.Release(link_, Qt::LeftButton, {4, 4});
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(URLLinkTest, MailLinkOpensMailtoAndItsHintShowsTheBareAddress) {
    const QString address = QStringLiteral("numari@example.com");
    link_->setURLType(tpMAIL);
    link_->setLink(address);
    link_->setCaption(QStringLiteral("write to me"));
    link_->HintFormFont()->Font = PlainFont(12);
    PointAt(link_, {4, 4});
    ASSERT_TRUE(Hint()->isVisible());
    const QFontMetrics m(PlainFont(12));
    EXPECT_EQ(Hint()->width(), m.horizontalAdvance(address) + 6);
    mouse_.Click(link_, Qt::LeftButton, {4, 4});
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("mailto:numari@example.com")));
}

TEST_F(URLLinkTest, RightAndMiddlePressOnlyRepaint) {
    PointAt(link_, {4, 4});
    ASSERT_TRUE(Hint()->isVisible());
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        Settle();
        mouse_.Press(link_, b, {4, 4});
        EXPECT_TRUE(Painted()) << b;
        mouse_.Release(link_, b, {4, 4});
        mouse_.Pause();
        EXPECT_TRUE(opened.empty()) << b;
        EXPECT_TRUE(Hint()->isVisible()) << b;
        EXPECT_TRUE(link_->HintShown()) << b;
    }
}

TEST_F(URLLinkTest, EmptyLinkShowsAnEmptyHintAndOpensNothing) {
    link_->setLink(QString());
    PointAt(link_, {4, 4});
    ASSERT_TRUE(Hint()->isVisible());
    EXPECT_EQ(Hint()->width(), 6);
    mouse_.Click(link_, Qt::LeftButton, {4, 4});
    EXPECT_TRUE(opened.empty());
}

TEST_F(URLLinkTest, WritingTheSameValueDoesNotRepaint) {
    const auto expectPaints = [&](bool expected, const char* what) {
        EXPECT_EQ(Painted(), expected) << what;
        Settle();
    };
    Settle();
    link_->setURLType(tpURL);
    expectPaints(false, "URLType same");
    link_->setURLType(tpMAIL);
    expectPaints(true, "URLType changed");

    // Equal content in a separately built string.
    link_->setLink(QString::fromUtf8(QByteArray("http:") + QByteArray("//")));
    expectPaints(false, "Link same");
    link_->setLink(QStringLiteral("http://example.org"));
    expectPaints(true, "Link changed");

    link_->setLinkColor(clRed);
    expectPaints(false, "LinkColor same");
    link_->setLinkColor(0x00123456);
    expectPaints(true, "LinkColor changed");
    link_->setHintFormColor(clInfoBk);
    expectPaints(false, "HintFormColor same");
    link_->setHintFormColor(0x00FFFFFF);
    expectPaints(true, "HintFormColor changed");
    link_->setHintOffsetX(15);
    expectPaints(false, "HintOffsetX same");
    link_->setHintOffsetX(16);
    expectPaints(true, "HintOffsetX changed");
    link_->setHintOffsetY(15);
    expectPaints(false, "HintOffsetY same");
    link_->setHintOffsetY(-1);
    expectPaints(true, "HintOffsetY changed");
    link_->setEnableShowHint(true);
    expectPaints(false, "EnableShowHint same");
    link_->setEnableShowHint(false);
    expectPaints(true, "EnableShowHint changed");
    link_->setFontColor(clBlue);
    expectPaints(false, "font colour same");
    link_->setFontColor(0x00010203);
    expectPaints(true, "font colour changed");
    link_->setCaption(QStringLiteral("Horonpa web page"));
    expectPaints(false, "Caption same");
}

TEST_F(URLLinkTest, HintFontIsCopiedFromAnotherObjectOnly) {
    TLinkFont* own = link_->HintFormFont();
    own->Font = PlainFont(11);
    Settle();
    link_->setHintFormFont(*own);
    EXPECT_FALSE(Painted()) << "its own font assigned back";
    EXPECT_EQ(link_->HintFormFont(), own);
    EXPECT_EQ(own->Font.pixelSize(), 11);

    TLinkFont other{PlainFont(19), 0x00008000};
    link_->setHintFormFont(other);
    EXPECT_TRUE(Painted());
    EXPECT_EQ(link_->HintFormFont(), own) << "the control keeps its own object";
    EXPECT_EQ(own->Font.pixelSize(), 19);
    EXPECT_EQ(own->Color, 0x00008000u);
    other.Font.setPixelSize(30);  // the caller's object stays the caller's
    EXPECT_EQ(own->Font.pixelSize(), 19);

    PointAt(link_, {4, 4});
    ASSERT_TRUE(Hint()->isVisible());
    EXPECT_EQ(Hint()->height(), QFontMetrics(PlainFont(19)).height() + 3);
    EXPECT_GT(CountColour(Grab(Hint()), qRgb(0, 0x80, 0)), 0);
}

TEST_F(URLLinkTest, CaptionBreaksAtCrLfAndSizesTheControl) {
    const QFontMetrics m(PlainFont(16));
    link_->setCaption(QStringLiteral("Horonpa"));
    const QSize one = link_->size();
    EXPECT_EQ(one.height(), m.height());
    EXPECT_EQ(one.width(), m.horizontalAdvance(QStringLiteral("Horonpa")));
    link_->setCaption(QStringLiteral("Horonpa\r\nhttps://example.org/"));
    EXPECT_EQ(link_->text(), QStringLiteral("Horonpa\nhttps://example.org/"));
    EXPECT_GE(link_->height(), 2 * m.height());
    EXPECT_EQ(link_->width(), m.horizontalAdvance(QStringLiteral("https://example.org/")));
    link_->setCaption(QStringLiteral("Tom && &Jerry"));
    EXPECT_EQ(link_->text(), QStringLiteral("Tom & Jerry"));
}

TEST_F(URLLinkTest, TransparentShowsTheParentsBackground) {
    QPalette p = host_->palette();
    p.setColor(QPalette::Window, Qt::white);
    host_->setPalette(p);
    host_->setAutoFillBackground(true);
    link_->setColor(0x00505050);
    Settle();
    const QImage opaque = Grab(link_);
    EXPECT_EQ(opaque.pixel(opaque.width() - 1, 0), qRgb(0x50, 0x50, 0x50));
    link_->setTransparent(true);
    EXPECT_TRUE(Painted());
    const QImage seeThrough = host_->grab(link_->geometry()).toImage();
    EXPECT_EQ(seeThrough.pixel(seeThrough.width() - 1, 0), qRgb(0xFF, 0xFF, 0xFF));
}

TEST_F(URLLinkTest, DestroyingTheControlTakesTheHintWithIt) {
    PointAt(link_, {4, 4});
    QPointer<QWidget> hint = Hint();
    ASSERT_TRUE(hint && hint->isVisible());
    delete link_;
    link_ = nullptr;
    EXPECT_TRUE(hint.isNull());
}

}  // namespace
