// What the panel button draws: bevels and frames pixel by pixel, the focus
// marks, the picture and the caption.
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <cstdio>
#include <set>
#include <string>

#include "controls/PictBtnFixture.h"

namespace pictbtn_test {
namespace {

std::string Hex(QRgb c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06x", static_cast<unsigned>(c & 0xFFFFFFu));
    return buf;
}

#define EXPECT_PIXEL(img, x, y, colour) \
    EXPECT_EQ(Hex((img).pixel((x), (y))), Hex(colour)) << "at (" << (x) << ", " << (y) << ")"

class PictBtnPaintTest : public PictBtnTest {
  protected:
    void SetUp() override {
        PictBtnTest::SetUp();
        button_->setColor(kColor);
        button_->setInColor(kInColor);
        button_->setColorChange(false);
        button_->setFocusStyle(bfsNone);
        Settle();
    }

    // Ring k of a one-pixel frame: left and top edges in tl, right and bottom
    // edges in br, the top-right and bottom-left corners in br.
    static void ExpectRing(const QImage& img, int k, QRgb tl, QRgb br) {
        SCOPED_TRACE("ring " + std::to_string(k));
        const int r = img.width() - 1 - k;
        const int b = img.height() - 1 - k;
        const int mid = img.width() / 2;
        EXPECT_PIXEL(img, k, k, tl);
        EXPECT_PIXEL(img, k, mid, tl);
        EXPECT_PIXEL(img, k, b - 1, tl);
        EXPECT_PIXEL(img, mid, k, tl);
        EXPECT_PIXEL(img, r - 1, k, tl);
        EXPECT_PIXEL(img, r, k, br);  // top-right corner
        EXPECT_PIXEL(img, k, b, br);  // bottom-left corner
        EXPECT_PIXEL(img, r, b, br);
        EXPECT_PIXEL(img, r, mid, br);
        EXPECT_PIXEL(img, mid, b, br);
    }

    // The face fills everything from ring k inwards.
    static void ExpectFace(const QImage& img, int k, QRgb face) {
        SCOPED_TRACE("face from ring " + std::to_string(k));
        const int r = img.width() - 1 - k;
        const int b = img.height() - 1 - k;
        EXPECT_PIXEL(img, k, k, face);
        EXPECT_PIXEL(img, r, k, face);
        EXPECT_PIXEL(img, k, b, face);
        EXPECT_PIXEL(img, r, b, face);
        EXPECT_PIXEL(img, img.width() / 2, img.height() / 2, face);
    }

    static void ExpectBevels(const QImage& img, TBevelCut outer, TBevelCut inner, QRgb face) {
        int k = 0;
        for (TBevelCut cut : {outer, inner}) {
            if (cut == bvLowered) ExpectRing(img, k++, Rgb(clBtnShadow), Rgb(clBtnHighlight));
            if (cut == bvRaised) ExpectRing(img, k++, Rgb(clBtnHighlight), Rgb(clBtnShadow));
        }
        ExpectFace(img, k, face);
    }

    static void ExpectRaisedStdFrame(const QImage& img, QRgb face) {
        ExpectRing(img, 0, Rgb(cl3DLight), Rgb(cl3DDkShadow));
        ExpectRing(img, 1, Rgb(clBtnHighlight), Rgb(clBtnShadow));
        ExpectFace(img, 2, face);
    }

    static void ExpectSunkenStdFrame(const QImage& img, QRgb face) {
        ExpectRing(img, 0, Rgb(clBtnShadow), Rgb(clBtnShadow));
        ExpectRing(img, 1, Rgb(clBtnFace), Rgb(clBtnFace));
        ExpectFace(img, 2, face);
    }

    // An opaque green picture (it has an alpha channel, so no colour is see-through).
    static QImage Picture(int w, int h) {
        QImage img(w, h, QImage::Format_ARGB32);
        img.fill(QColor(0, 200, 0));
        return img;
    }
    static constexpr QRgb kGreen = 0xFF00C800;
};

struct StyleLook {
    TButtonStyle style;
    TBevelCut restOuter, restInner, heldOuter, heldInner;
};

constexpr StyleLook kLooks[] = {
    {bsNone, bvNone, bvNone, bvLowered, bvNone},
    {bsLowered, bvLowered, bvNone, bvLowered, bvLowered},
    {bsRaised, bvRaised, bvNone, bvLowered, bvNone},
    {bsFrame, bvRaised, bvLowered, bvNone, bvLowered},
    {bsGroove, bvLowered, bvRaised, bvLowered, bvNone},
    {bsIELike, bvNone, bvNone, bvLowered, bvNone},
    {bsSpBtnLike, bvNone, bvNone, bvLowered, bvNone},
};

TEST_F(PictBtnPaintTest, NewControlIsAStandardButtonInButtonFace) {
    auto fresh = std::make_unique<TPictureButton>(host_.get());
    EXPECT_EQ(fresh->size(), QSize(36, 36));
    EXPECT_EQ(fresh->ButtonStyle(), bsStdButton);
    EXPECT_EQ(fresh->BevelInner(), bvNone);
    EXPECT_EQ(fresh->BevelOuter(), bvNone);
    EXPECT_EQ(fresh->Color(), clBtnFace);
    EXPECT_EQ(fresh->DisplayedColor(), clBtnFace);
    EXPECT_EQ(fresh->InColor(), cl3DLight);
    EXPECT_EQ(fresh->FocusStyle(), bfsStdButton);
    EXPECT_TRUE(fresh->ColorChange());
    EXPECT_FALSE(fresh->TabStop());
    EXPECT_FALSE(fresh->Stretch());
    EXPECT_TRUE(fresh->Caption().isEmpty());
    EXPECT_EQ(fresh->PictureLeft(), -1);
    EXPECT_EQ(fresh->CaptionTop(), -1);

    const QImage look = fresh->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ExpectRaisedStdFrame(look, Rgb(clBtnFace));

    // A name never becomes the caption: a game panel shows no text.
    fresh->setObjectName("btn0_0");
    EXPECT_TRUE(fresh->Caption().isEmpty());
    EXPECT_EQ(fresh->grab().toImage().convertToFormat(QImage::Format_RGB32), look);
}

TEST_F(PictBtnPaintTest, EveryStyleAtRestAndHeld) {
    for (const StyleLook& l : kLooks) {
        SCOPED_TRACE("style " + std::to_string(l.style));
        button_->setButtonStyle(l.style);
        Settle();
        ExpectBevels(Grab(), l.restOuter, l.restInner, Rgb(kColor));

        mouse_.Press(button_, Qt::LeftButton);
        ExpectBevels(Grab(), l.heldOuter, l.heldInner, Rgb(kInColor));
        mouse_.Release(button_, Qt::LeftButton);
        mouse_.Move(button_, kOutside);
        mouse_.Pause();
        ExpectBevels(Grab(), l.restOuter, l.restInner, Rgb(kColor));
    }
}

TEST_F(PictBtnPaintTest, StandardButtonFrameRaisedAtRestSunkenWhenHeld) {
    ASSERT_EQ(button_->ButtonStyle(), bsStdButton);
    ExpectRaisedStdFrame(Grab(), Rgb(kColor));
    mouse_.Press(button_, Qt::LeftButton);
    ExpectSunkenStdFrame(Grab(), Rgb(kInColor));
    mouse_.Release(button_, Qt::LeftButton);
    ExpectRaisedStdFrame(Grab(), Rgb(kColor));
}

TEST_F(PictBtnPaintTest, FrameFollowsTheControlSize) {
    button_->resize(50, 20);
    button_->setButtonStyle(bsGroove);
    Settle();
    const QImage img = Grab();
    ASSERT_EQ(img.size(), QSize(50, 20));
    EXPECT_PIXEL(img, 49, 0, Rgb(clBtnHighlight));  // outer top-right corner
    EXPECT_PIXEL(img, 0, 19, Rgb(clBtnHighlight));  // outer bottom-left corner
    EXPECT_PIXEL(img, 48, 0, Rgb(clBtnShadow));     // end of the outer top edge
    EXPECT_PIXEL(img, 48, 1, Rgb(clBtnShadow));     // inner top-right corner
    EXPECT_PIXEL(img, 47, 1, Rgb(clBtnHighlight));  // end of the inner top edge
    EXPECT_PIXEL(img, 1, 18, Rgb(clBtnShadow));     // inner bottom-left corner
    EXPECT_PIXEL(img, 2, 2, Rgb(kColor));
    EXPECT_PIXEL(img, 47, 17, Rgb(kColor));
}

TEST_F(PictBtnPaintTest, FocusRectangleFourInsideTheStandardFrame) {
    button_->setFocusStyle(bfsStdButton);
    button_->setFocus();
    ASSERT_TRUE(button_->hasFocus());
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 1) << "gaining the focus repaints";
    Settle();
    const QImage img = Grab();
    const QRgb face = Rgb(kColor);
    // Dotted: every other pixel of the outline inverted.
    EXPECT_PIXEL(img, 4, 4, Inverted(face));
    EXPECT_PIXEL(img, 5, 4, face);
    EXPECT_PIXEL(img, 6, 4, Inverted(face));
    EXPECT_PIXEL(img, 31, 5, Inverted(face));
    EXPECT_PIXEL(img, 5, 31, Inverted(face));
    EXPECT_PIXEL(img, 31, 31, Inverted(face));
    // Nothing just outside or just inside the outline.
    EXPECT_PIXEL(img, 3, 3, face);
    EXPECT_PIXEL(img, 32, 32, face);
    EXPECT_PIXEL(img, 5, 5, face);
    EXPECT_PIXEL(img, 30, 30, face);

    button_->paints = 0;
    button_->clearFocus();
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 1) << "losing the focus repaints";
    EXPECT_PIXEL(Grab(), 4, 4, face);
}

TEST_F(PictBtnPaintTest, FocusRectangleOfOtherStylesFollowsThePress) {
    button_->setButtonStyle(bsGroove);
    button_->setFocusStyle(bfsStdButton);
    button_->setFocus();
    Settle();
    QImage img = Grab();
    EXPECT_PIXEL(img, 2, 2, Inverted(Rgb(kColor)));  // 2 + 0 inside
    EXPECT_PIXEL(img, 33, 33, Inverted(Rgb(kColor)));
    EXPECT_PIXEL(img, 3, 3, Rgb(kColor));

    // Held: 3 inside, and the face reaches one pixel from the edge.
    mouse_.Press(button_, Qt::LeftButton);
    img = Grab();
    EXPECT_PIXEL(img, 3, 3, Inverted(Rgb(kInColor)));
    EXPECT_PIXEL(img, 32, 32, Inverted(Rgb(kInColor)));
    EXPECT_PIXEL(img, 2, 2, Rgb(kInColor));
    EXPECT_PIXEL(img, 1, 1, Rgb(kInColor));
    mouse_.Release(button_, Qt::LeftButton);

    // Released and still focused: back to 2 inside.
    ASSERT_TRUE(button_->hasFocus());
    img = Grab();
    EXPECT_PIXEL(img, 2, 2, Inverted(Rgb(kColor)));
    EXPECT_PIXEL(img, 3, 3, Rgb(kColor));
}

TEST_F(PictBtnPaintTest, FocusInColorPaintsTheFaceAndNoneShowsNothing) {
    button_->setFocusStyle(bfsInColor);
    button_->setFocus();
    Settle();
    ExpectRaisedStdFrame(Grab(), Rgb(kInColor));
    EXPECT_PIXEL(Grab(), 4, 4, Rgb(kInColor));
    button_->clearFocus();
    Settle();
    ExpectRaisedStdFrame(Grab(), Rgb(kColor));

    button_->setFocusStyle(bfsNone);
    button_->setFocus();
    Settle();
    ExpectRaisedStdFrame(Grab(), Rgb(kColor));
    EXPECT_PIXEL(Grab(), 4, 4, Rgb(kColor));
}

TEST_F(PictBtnPaintTest, PictureIsCentredWithHalvesToEven) {
    button_->setButtonStyle(bsNone);
    button_->setPicture(Picture(31, 10));  // (36 - 31) / 2 = 2.5 -> 2
    Settle();
    QImage img = Grab();
    EXPECT_PIXEL(img, 1, 13, Rgb(kColor));
    EXPECT_PIXEL(img, 2, 13, kGreen);
    EXPECT_PIXEL(img, 32, 22, kGreen);
    EXPECT_PIXEL(img, 33, 22, Rgb(kColor));
    EXPECT_PIXEL(img, 2, 12, Rgb(kColor));
    EXPECT_PIXEL(img, 2, 23, Rgb(kColor));

    button_->setPicture(Picture(29, 9));  // 3.5 -> 4 across, 13.5 -> 14 down
    Settle();
    img = Grab();
    EXPECT_PIXEL(img, 3, 14, Rgb(kColor));
    EXPECT_PIXEL(img, 4, 14, kGreen);
    EXPECT_PIXEL(img, 32, 22, kGreen);
    EXPECT_PIXEL(img, 33, 22, Rgb(kColor));
    EXPECT_PIXEL(img, 4, 13, Rgb(kColor));
    EXPECT_PIXEL(img, 4, 23, Rgb(kColor));
}

TEST_F(PictBtnPaintTest, PicturePlacedExplicitlyAndShiftedByThePress) {
    button_->setButtonStyle(bsNone);
    button_->setPicture(Picture(4, 4));
    button_->setPictureLeft(0);
    button_->setPictureTop(5);
    Settle();
    QImage img = Grab();
    EXPECT_PIXEL(img, 0, 5, kGreen);
    EXPECT_PIXEL(img, 3, 8, kGreen);
    EXPECT_PIXEL(img, 4, 8, Rgb(kColor));
    EXPECT_PIXEL(img, 0, 4, Rgb(kColor));

    button_->setPictureLeft(-1);  // -1 is "centred", never a position
    Settle();
    img = Grab();
    EXPECT_PIXEL(img, 16, 5, kGreen);
    EXPECT_PIXEL(img, 15, 5, Rgb(kColor));

    mouse_.Press(button_, Qt::LeftButton);
    img = Grab();
    EXPECT_PIXEL(img, 17, 6, kGreen);
    EXPECT_PIXEL(img, 16, 5, Rgb(kInColor));
    EXPECT_PIXEL(img, 20, 9, kGreen);
    mouse_.Release(button_, Qt::LeftButton);
}

TEST_F(PictBtnPaintTest, PictureWithoutAlphaSeesThroughItsBottomLeftColour) {
    button_->setButtonStyle(bsNone);
    QImage pic(10, 10, QImage::Format_RGB32);
    pic.fill(QColor(0, 200, 0));
    pic.setPixel(0, 9, qRgb(255, 0, 255));
    pic.setPixel(5, 5, qRgb(255, 0, 255));
    button_->setPicture(pic);  // at (13, 13)
    Settle();
    const QImage img = Grab();
    EXPECT_PIXEL(img, 13, 13, kGreen);
    EXPECT_PIXEL(img, 13, 22, Rgb(kColor));
    EXPECT_PIXEL(img, 18, 18, Rgb(kColor));
    EXPECT_PIXEL(img, 19, 18, kGreen);
}

TEST_F(PictBtnPaintTest, StretchedPictureFillsFromTwoToFourBeforeTheEdge) {
    button_->setButtonStyle(bsGroove);
    button_->setPicture(Picture(5, 5));
    button_->setStretch(true);
    Settle();
    QImage img = Grab();
    EXPECT_PIXEL(img, 2, 2, kGreen);
    EXPECT_PIXEL(img, 31, 31, kGreen);
    EXPECT_PIXEL(img, 31, 2, kGreen);
    EXPECT_PIXEL(img, 32, 32, Rgb(kColor));
    EXPECT_PIXEL(img, 32, 2, Rgb(kColor));
    EXPECT_PIXEL(img, 2, 32, Rgb(kColor));
    EXPECT_PIXEL(img, 1, 1, Rgb(clBtnHighlight));  // the inner bevel stays

    mouse_.Press(button_, Qt::LeftButton);
    img = Grab();
    EXPECT_PIXEL(img, 2, 2, Rgb(kInColor));
    EXPECT_PIXEL(img, 3, 3, kGreen);
    EXPECT_PIXEL(img, 31, 31, kGreen);
    EXPECT_PIXEL(img, 32, 32, Rgb(kInColor));
    mouse_.Release(button_, Qt::LeftButton);
}

// The stretched picture is laid on the control's background first, which a
// drawn caption clears until the displayed colour changes; only a see-through
// pixel shows the difference, and only while the face differs from the
// displayed colour (here: held).
TEST_F(PictBtnPaintTest, StretchedPictureSeesTheBackgroundUntilACaptionClearsIt) {
    button_->setButtonStyle(bsNone);
    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(QColor(0, 200, 0));
    pic.setPixel(0, 3, qRgb(255, 0, 255));  // see-through
    button_->setPicture(pic);
    button_->setStretch(true);
    mouse_.Press(button_, Qt::LeftButton);
    EXPECT_PIXEL(Grab(), 2, 2, Rgb(kInColor));
    EXPECT_PIXEL(Grab(), 5, 29, Rgb(kColor));
    EXPECT_PIXEL(Grab(), 20, 10, kGreen);

    button_->setCaption(" ");
    Grab();  // one paint with the caption
    EXPECT_PIXEL(Grab(), 5, 29, Rgb(kInColor));

    button_->setColor(0x00010203);  // a new background colour is solid again
    EXPECT_PIXEL(Grab(), 5, 29, Rgb(0x00010203));
    mouse_.Release(button_, Qt::LeftButton);
}

class PictBtnCaptionTest : public PictBtnPaintTest {
  protected:
    void SetUp() override {
        PictBtnPaintTest::SetUp();
        button_->setButtonStyle(bsNone);
        button_->setInColor(kColor);  // a press changes nothing but the offset and the bevel
        empty_ = Grab();
    }
    QRect Extent(const QString& text) const {
        return QFontMetrics(button_->font()).boundingRect(QRect(), Qt::TextShowMnemonic, text);
    }
    QImage empty_;
};

TEST_F(PictBtnCaptionTest, CaptionIsCentredTruncatingAndCanBePlaced) {
    button_->setCaption("&Wg");
    Settle();
    const QImage centred = Grab();
    ASSERT_NE(centred, empty_) << "the caption draws nothing";
    const QRect ext = Extent("&Wg");

    button_->setCaptionLeft((36 - ext.width()) / 2);
    button_->setCaptionTop((36 - ext.height()) / 2);
    Settle();
    EXPECT_EQ(Grab(), centred);
    button_->setCaptionLeft((36 - ext.width()) / 2 + 1);
    Settle();
    EXPECT_NE(Grab(), centred);
}

TEST_F(PictBtnCaptionTest, WideCaptionCentresTowardZero) {
    const QString text = "WWWWWWWW";
    const QRect ext = Extent(text);
    ASSERT_GT(ext.width(), 12);
    button_->resize(ext.width() - 5, 36);  // (W - width) / 2 = -5 / 2 = -2, not -3
    button_->setCaption(text);
    Settle();
    const QImage centred = Grab();
    button_->setCaptionLeft(-2);
    Settle();
    EXPECT_EQ(Grab(), centred);
    button_->setCaptionLeft(-3);
    Settle();
    EXPECT_NE(Grab(), centred);
}

TEST_F(PictBtnCaptionTest, PressMovesTheCaptionOnePixelRightAndDown) {
    button_->setCaption("Wg");
    Settle();
    const QImage rest = Grab();
    ASSERT_NE(rest.copy(2, 2, 31, 31), empty_.copy(2, 2, 31, 31));
    mouse_.Press(button_, Qt::LeftButton);
    const QImage held = Grab();
    EXPECT_EQ(held.copy(3, 3, 31, 31), rest.copy(2, 2, 31, 31));
    mouse_.Release(button_, Qt::LeftButton);
    EXPECT_EQ(Grab(), rest);
}

// The caption takes the palette's text colour until it is given one; a new
// one repaints.
TEST_F(PictBtnCaptionTest, CaptionIsDrawnInItsFontColour) {
    auto inks = [&] {
        std::set<QRgb> out;
        const QImage img = Grab();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) out.insert(img.pixel(x, y));
        return out;
    };
    button_->setCaption("8");
    Settle();
    EXPECT_TRUE(inks().count(QApplication::palette().color(QPalette::WindowText).rgb()));
    EXPECT_FALSE(inks().count(qRgb(255, 255, 255)));
    Settle();  // forget the paints of the grabs
    button_->setFontColor(0x00FFFFFF);
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 1);
    EXPECT_TRUE(inks().count(qRgb(255, 255, 255)));
}

}  // namespace
}  // namespace pictbtn_test
