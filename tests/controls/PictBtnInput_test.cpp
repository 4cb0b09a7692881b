// How the panel button answers the mouse, the keyboard, its accelerator and
// the pointer: which events reach the handlers, in what order, and how the
// look follows.
#include <QApplication>
#include <QCursor>
#include <QTest>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/PictBtnFixture.h"
#include "support/GuiHelpers.h"

namespace pictbtn_test {
namespace {

std::string ButtonName(Qt::MouseButton b) {
    return b == Qt::LeftButton     ? "L"
           : b == Qt::RightButton  ? "R"
           : b == Qt::MiddleButton ? "M"
                                   : "?";
}

class PictBtnInputTest : public PictBtnTest {
  protected:
    void SetUp() override {
        PictBtnTest::SetUp();
        button_->setColor(kColor);
        button_->setInColor(kInColor);
        button_->OnMouseDown = [this](QObject* s, Qt::MouseButton b, TPictureButton::TShiftState sh,
                                      int x, int y) {
            EXPECT_EQ(s, button_);
            std::string e = "down " + ButtonName(b);
            if (sh & TPictureButton::ssDouble) e += " double";
            log.push_back(e);
            lastX = x;
            lastY = y;
            lastShift = sh;
        };
        button_->OnMouseUp = [this](QObject* s, Qt::MouseButton b, TPictureButton::TShiftState sh,
                                    int x, int y) {
            EXPECT_EQ(s, button_);
            log.push_back("up " + ButtonName(b));
            lastX = x;
            lastY = y;
            lastShift = sh;
        };
        button_->OnClick = [this](QObject* s) {
            EXPECT_EQ(s, button_);
            log.push_back("click");
        };
        button_->OnDblClick = [this](QObject*) { log.push_back("dblclick"); };
    }

    int Clicks() const { return static_cast<int>(std::count(log.begin(), log.end(), "click")); }
    void HoverAt(QPoint p) {
        QCursor::setPos(button_->mapToGlobal(p));
        QApplication::processEvents();
    }

    std::vector<std::string> log;
    int lastX = -100, lastY = -100;
    TPictureButton::TShiftState lastShift = 0;
    using Log = std::vector<std::string>;
};

// ---- Mouse ----

TEST_F(PictBtnInputTest, LeftClickClicksBeforeMouseUpAndIsDrawnReleasedFirst) {
    int paintsBeforeMouseUp = -1;
    auto up = button_->OnMouseUp;
    button_->OnMouseUp = [&](QObject* s, Qt::MouseButton b, TPictureButton::TShiftState sh, int x,
                             int y) {
        paintsBeforeMouseUp = button_->paints;
        up(s, b, sh, x, y);
    };

    mouse_.Press(button_, Qt::LeftButton, {5, 7});
    EXPECT_EQ(log, Log({"down L"}));
    EXPECT_EQ(lastX, 5);
    EXPECT_EQ(lastY, 7);
    EXPECT_TRUE(lastShift & TPictureButton::ssLeft);
    EXPECT_TRUE(button_->hasFocus()) << "a left press takes the focus";
    EXPECT_EQ(Px(0, 0), Rgb(clBtnShadow)) << "held: sunken";

    Settle();
    mouse_.Release(button_, Qt::LeftButton, {6, 8});
    EXPECT_EQ(log, Log({"down L", "click", "up L"}));
    EXPECT_EQ(lastX, 6);
    EXPECT_FALSE(lastShift & TPictureButton::ssLeft);
    EXPECT_EQ(paintsBeforeMouseUp, 1) << "released look painted before the handler runs";
    EXPECT_EQ(Px(0, 0), Rgb(cl3DLight));
}

TEST_F(PictBtnInputTest, RightAndMiddleButtonsReachOnlyDownAndUp) {
    button_->setButtonStyle(bsGroove);
    mouse_.Move(button_, {5, 5});
    Settle();
    const QImage before = Grab();
    for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton}) {
        const std::string n = ButtonName(b);
        log.clear();
        mouse_.Press(button_, b);
        EXPECT_EQ(log, Log({"down " + n}));
        EXPECT_EQ(button_->BevelInner(), bvRaised);
        EXPECT_EQ(Grab(), before) << n << " press changed the look";
        EXPECT_FALSE(button_->hasFocus());
        mouse_.Release(button_, b);
        EXPECT_EQ(log, Log({"down " + n, "up " + n}));
        EXPECT_EQ(Grab(), before);
        mouse_.Pause();
    }
}

TEST_F(PictBtnInputTest, DoubleClickClicksOnceButBothReleasesReachMouseUp) {
    mouse_.Click(button_, Qt::LeftButton);
    mouse_.Click(button_, Qt::LeftButton);
    EXPECT_EQ(log, Log({"down L", "click", "up L", "dblclick", "down L double", "up L"}));
    mouse_.Pause();

    log.clear();
    mouse_.Click(button_, Qt::RightButton);
    mouse_.Click(button_, Qt::RightButton);
    EXPECT_EQ(log, Log({"down R", "up R", "down R double", "up R"}));
}

TEST_F(PictBtnInputTest, LeftReleaseOutsideStillReachesMouseUpWithoutClick) {
    mouse_.Press(button_, Qt::LeftButton);
    mouse_.Move(button_, kOutside);
    mouse_.Release(button_, Qt::LeftButton, kOutside);
    EXPECT_EQ(log, Log({"down L", "up L"}));
    EXPECT_EQ(lastX, kOutside.x());
    EXPECT_EQ(lastY, kOutside.y());
}

TEST_F(PictBtnInputTest, StandardButtonDraggedOutRisesAndSinksAgainWhenBack) {
    button_->setColorChange(false);
    mouse_.Press(button_, Qt::LeftButton);
    EXPECT_EQ(Px(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(Px(5, 5), Rgb(kInColor));

    mouse_.Move(button_, kOutside);
    EXPECT_EQ(Px(0, 0), Rgb(cl3DLight));
    EXPECT_EQ(Px(5, 5), Rgb(kColor));

    mouse_.Move(button_, {20, 20});
    EXPECT_EQ(Px(0, 0), Rgb(clBtnShadow));
    EXPECT_EQ(Px(5, 5), Rgb(kInColor));

    mouse_.Move(button_, kOutside);
    mouse_.Release(button_, Qt::LeftButton, kOutside);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(Px(0, 0), Rgb(cl3DLight));
    EXPECT_EQ(Px(5, 5), Rgb(kColor));
}

TEST_F(PictBtnInputTest, KeyWhileDraggedOutLeavesThePressOffsetAtMinusOne) {
    button_->setColorChange(false);
    QImage pic(10, 10, QImage::Format_ARGB32);
    pic.fill(QColor(0, 200, 0));
    button_->setPicture(pic);  // centred at (13, 13)
    const QRgb green = qRgb(0, 200, 0);
    mouse_.Press(button_, Qt::LeftButton);
    EXPECT_EQ(Px(14, 14), green);
    EXPECT_EQ(Px(13, 13), Rgb(kInColor));
    mouse_.Move(button_, kOutside);
    EXPECT_EQ(Px(13, 13), green);

    Key(QEvent::KeyPress, Qt::Key_A);
    Key(QEvent::KeyRelease, Qt::Key_A);
    QApplication::processEvents();
    QImage img = Grab();
    EXPECT_EQ(img.pixel(12, 12), green) << "picture one pixel up and left";
    EXPECT_EQ(img.pixel(22, 22), Rgb(kColor));
    EXPECT_EQ(img.pixel(0, 0), Rgb(clBtnShadow)) << "standard frame sunken";
    EXPECT_EQ(img.pixel(1, 1), Rgb(clBtnFace));

    mouse_.Release(button_, Qt::LeftButton, kOutside);
    img = Grab();
    EXPECT_EQ(img.pixel(13, 13), green);
    EXPECT_EQ(img.pixel(12, 12), Rgb(kColor));
    EXPECT_EQ(img.pixel(0, 0), Rgb(cl3DLight));
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(PictBtnInputTest, HoverStylesRaiseWhileHoveredAndFollowTheHeldButton) {
    button_->setColorChange(false);
    button_->setButtonStyle(bsIELike);
    HoverAt({5, 5});
    EXPECT_EQ(button_->BevelOuter(), bvRaised);
    EXPECT_EQ(Px(0, 0), Rgb(clBtnHighlight));
    HoverAt(kOutside);
    EXPECT_EQ(button_->BevelOuter(), bvNone);
    EXPECT_EQ(Px(0, 0), Rgb(kColor));

    mouse_.Press(button_, Qt::LeftButton);
    EXPECT_EQ(button_->BevelOuter(), bvLowered);
    mouse_.Move(button_, kOutside);
    EXPECT_EQ(button_->BevelOuter(), bvNone) << "held outside: flat";
    EXPECT_EQ(Px(5, 5), Rgb(kColor));
    mouse_.Move(button_, {5, 5});
    EXPECT_EQ(button_->BevelOuter(), bvLowered) << "came back with the button down";
    EXPECT_EQ(Px(5, 5), Rgb(kInColor));
    mouse_.Release(button_, Qt::LeftButton);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(button_->BevelOuter(), bvRaised) << "released with the pointer inside";
    mouse_.Pause();
    mouse_.Press(button_, Qt::LeftButton);
    mouse_.Move(button_, kOutside);
    mouse_.Release(button_, Qt::LeftButton, kOutside);
    EXPECT_EQ(button_->BevelOuter(), bvNone) << "released with the pointer outside";
    EXPECT_EQ(Clicks(), 1);
    mouse_.Pause();

    button_->setButtonStyle(bsSpBtnLike);
    mouse_.Press(button_, Qt::LeftButton);
    EXPECT_EQ(button_->BevelOuter(), bvLowered);
    mouse_.Move(button_, kOutside);
    EXPECT_EQ(button_->BevelOuter(), bvRaised) << "held outside with the button down: raised";
    mouse_.Release(button_, Qt::LeftButton, kOutside);
    EXPECT_EQ(button_->BevelOuter(), bvNone);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(PictBtnInputTest, StandardButtonHeldBySpaceStaysRaisedWhenThePointerReturns) {
    button_->setColorChange(false);
    HoverAt({5, 5});
    Key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(Px(0, 0), Rgb(clBtnShadow));
    HoverAt(kOutside);
    EXPECT_EQ(Px(0, 0), Rgb(cl3DLight)) << "held with the pointer outside: raised";
    EXPECT_EQ(Px(5, 5), Rgb(kColor));
    // Only a control holding the mouse sinks again when the pointer comes back.
    HoverAt({5, 5});
    EXPECT_EQ(Px(0, 0), Rgb(cl3DLight));
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(Clicks(), 1);
    // A key release does not reset the correction: the offset is -1 and the
    // frame shows sunken until the pointer leaves.
    EXPECT_EQ(Px(0, 0), Rgb(clBtnShadow));
    HoverAt(kOutside);
    EXPECT_EQ(Px(0, 0), Rgb(cl3DLight));
}

TEST_F(PictBtnInputTest, SettingTheSameStyleKeepsThePressBevels) {
    button_->setButtonStyle(bsGroove);
    mouse_.Press(button_, Qt::LeftButton);
    ASSERT_EQ(button_->BevelInner(), bvNone);
    button_->setButtonStyle(bsGroove);
    EXPECT_EQ(button_->BevelInner(), bvNone);
    EXPECT_EQ(button_->BevelOuter(), bvLowered);
    mouse_.Release(button_, Qt::LeftButton);
    EXPECT_EQ(button_->BevelInner(), bvRaised);
}

// ---- Keyboard ----

TEST_F(PictBtnInputTest, SpaceHeldIgnoresRepeatAndClicksOnceOnRelease) {
    button_->setButtonStyle(bsGroove);
    button_->setFocus();
    Key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(button_->BevelInner(), bvNone) << "Space holds the button";
    Key(QEvent::KeyRelease, Qt::Key_Space, true);  // the window system's repeat pairs
    Key(QEvent::KeyPress, Qt::Key_Space, true);
    Key(QEvent::KeyPress, Qt::Key_Space, true);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(button_->BevelInner(), bvNone);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(log, Log({"click"}));
    EXPECT_EQ(button_->BevelInner(), bvRaised);
}

TEST_F(PictBtnInputTest, AnotherKeyCancelsAHeldSpace) {
    button_->setButtonStyle(bsGroove);
    Key(QEvent::KeyPress, Qt::Key_Space);
    Key(QEvent::KeyPress, Qt::Key_Shift);
    EXPECT_EQ(button_->BevelInner(), bvRaised);
    Key(QEvent::KeyRelease, Qt::Key_Shift);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(PictBtnInputTest, EnterClicksOncePerKeyDownRepeatIncluded) {
    button_->setButtonStyle(bsGroove);
    TBevelCut innerDuringClick = bvSpace;
    button_->OnClick = [&](QObject*) {
        log.push_back("click");
        innerDuringClick = button_->BevelInner();
    };
    Key(QEvent::KeyPress, Qt::Key_Return);
    Key(QEvent::KeyPress, Qt::Key_Return, true);
    Key(QEvent::KeyPress, Qt::Key_Enter);  // keypad Enter
    Key(QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(Clicks(), 3);
    EXPECT_EQ(button_->BevelInner(), bvRaised) << "released after each click";
    // Click itself releases the bevels before the handler runs.
    EXPECT_EQ(innerDuringClick, bvRaised);
}

TEST_F(PictBtnInputTest, EnterLeavesTheButtonReleasedWhenTheClickThrows) {
    button_->setButtonStyle(bsGroove);
    button_->OnClick = [&](QObject*) {
        int space = Qt::Key_Space;  // the handler holds the button again, then fails
        button_->KeyDown(space, 0);
        throw std::runtime_error("handler failed");
    };
    int key = Qt::Key_Return;
    EXPECT_THROW(button_->KeyDown(key, 0), std::runtime_error);
    EXPECT_EQ(button_->BevelInner(), bvRaised);
    Settle();
    EXPECT_EQ(Px(5, 5), Rgb(kColor)) << "not drawn held";
}

// A handler that fails on an event from the desktop (a move, say) is reported
// in the error box; the event ends there and the button goes on working.
TEST_F(PictBtnInputTest, AFailingHandlerShowsTheErrorBoxAndTheButtonGoesOn) {
    testsupport::DialogScript boxes;
    boxes.Press("OK").Press("OK");
    button_->setButtonStyle(bsGroove);
    int moves = 0;
    button_->OnMouseUp = [&](QObject*, Qt::MouseButton, TPictureButton::TShiftState, int, int) {
        ++moves;
        throw std::runtime_error("move failed");
    };
    mouse_.Click(button_, Qt::LeftButton);
    mouse_.Pause();
    mouse_.Click(button_, Qt::RightButton);
    EXPECT_EQ(moves, 2);
    ASSERT_EQ(boxes.seen().size(), 2);
    EXPECT_EQ(boxes.seen()[0].text, "move failed.");
    EXPECT_EQ(button_->BevelInner(), bvRaised) << "drawn released";
}

// A handler that fails on a pointer move reaches the error box once, for the
// one move; nothing of it crosses the desktop's event dispatch.
TEST_F(PictBtnInputTest, AFailingMoveHandlerShowsTheErrorBoxOnce) {
    testsupport::DialogScript boxes;
    boxes.Press("OK");
    int moves = 0;
    button_->OnMouseMove = [&](QObject*, TPictureButton::TShiftState, int, int) {
        ++moves;
        throw std::runtime_error("pointer failed");
    };
    mouse_.Move(button_, {6, 6});
    EXPECT_EQ(moves, 1);
    ASSERT_EQ(boxes.seen().size(), 1);
    EXPECT_EQ(boxes.seen()[0].text, "pointer failed.");
}

TEST_F(PictBtnInputTest, DisabledIgnoresKeyDowns) {
    button_->setButtonStyle(bsGroove);
    button_->setEnabled(false);
    int space = Qt::Key_Space, enter = Qt::Key_Return;
    button_->KeyDown(space, 0);
    button_->KeyDown(enter, 0);
    EXPECT_EQ(button_->BevelInner(), bvRaised);
    button_->KeyUp(space, 0);
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(PictBtnInputTest, HeldMouseAndSpaceShareThePressFlag) {
    mouse_.Press(button_, Qt::LeftButton);
    Key(QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(Clicks(), 1);
    mouse_.Release(button_, Qt::LeftButton);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(PictBtnInputTest, AcceleratorClicksWhenEnabledAndShown) {
    button_->setCaption("&Go");
    QTest::keyClick(host_.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(Clicks(), 1) << "Alt+G";
    EXPECT_TRUE(button_->DialogChar(u'g'));
    EXPECT_TRUE(button_->DialogChar(u'G'));
    EXPECT_FALSE(button_->DialogChar(u'o'));
    EXPECT_EQ(Clicks(), 3);

    button_->setEnabled(false);
    EXPECT_FALSE(button_->DialogChar(u'g'));
    QTest::keyClick(host_.get(), Qt::Key_G, Qt::AltModifier);
    button_->setEnabled(true);
    button_->hide();
    EXPECT_FALSE(button_->DialogChar(u'g'));
    button_->show();
    EXPECT_EQ(Clicks(), 3);

    button_->setCaption("&&Go");  // shows "&Go", no accelerator
    EXPECT_FALSE(button_->DialogChar(u'g'));
    QTest::keyClick(host_.get(), Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(Clicks(), 3);

    button_->setCaption("&a&b");  // with several, the last one counts
    EXPECT_FALSE(button_->DialogChar(u'a'));
    EXPECT_TRUE(button_->DialogChar(u'b'));
    EXPECT_EQ(Clicks(), 4);

    button_->setCaption("Sto&p");
    QTest::keyClick(host_.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(Clicks(), 5);
}

// ---- Enabled ----

TEST_F(PictBtnInputTest, EnabledNeitherRepaintsNorChangesTheLook) {
    button_->setButtonStyle(bsGroove);
    Settle();
    const QImage enabled = Grab();
    Settle();
    button_->setEnabled(false);
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 0);
    EXPECT_EQ(Grab(), enabled);
    Settle();
    button_->setEnabled(true);
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 0);

    button_->update();  // the counter does see an ordinary repaint
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 1);
}

// ---- Colours and the pointer ----

TEST_F(PictBtnInputTest, HoverShowsInColorOnlyWithColorChange) {
    HoverAt({5, 5});
    EXPECT_EQ(button_->DisplayedColor(), kInColor);
    EXPECT_EQ(Px(5, 5), Rgb(kInColor));
    HoverAt(kOutside);
    EXPECT_EQ(button_->DisplayedColor(), kColor);
    EXPECT_EQ(Px(5, 5), Rgb(kColor));

    button_->setColorChange(false);
    HoverAt({5, 5});
    EXPECT_EQ(Px(5, 5), Rgb(kColor));
}

TEST_F(PictBtnInputTest, InColorWriteNeitherRepaintsNorShows) {
    Settle();
    button_->setInColor(0x00123456);
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 0);
    EXPECT_EQ(button_->DisplayedColor(), kColor);

    button_->setColor(kColor);  // unchanged: nothing
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 0);
    button_->setColor(0x00654321);
    QApplication::processEvents();
    EXPECT_EQ(button_->paints, 1);
    EXPECT_EQ(Px(5, 5), Rgb(0x00654321));
}

TEST_F(PictBtnInputTest, ColorSetWhileHoveredShowsAtOnceAndInColorReturnsOnReEntry) {
    HoverAt({5, 5});
    ASSERT_EQ(Px(5, 5), Rgb(kInColor));
    button_->setColor(0x00445566);
    EXPECT_EQ(Px(5, 5), Rgb(0x00445566));
    HoverAt(kOutside);
    HoverAt({5, 5});
    EXPECT_EQ(Px(5, 5), Rgb(kInColor));
}

TEST_F(PictBtnInputTest, ColorChangeTurnedOffWhileInsideKeepsInColor) {
    HoverAt({5, 5});
    button_->setColorChange(false);
    QApplication::processEvents();
    EXPECT_EQ(Px(5, 5), Rgb(kInColor));
    // Leaving only restores the colour while ColorChange is on.
    HoverAt(kOutside);
    EXPECT_EQ(button_->DisplayedColor(), kInColor);
}

TEST_F(PictBtnInputTest, EnterAndLeaveReportPointerAndShift) {
    std::vector<std::string> events;
    int x = -100, y = -100;
    TPictureButton::TShiftState shift = 0xFF;
    button_->OnMouseEnter = [&](QObject* s, TPictureButton::TShiftState sh, int px, int py) {
        EXPECT_EQ(s, button_);
        events.push_back("enter");
        x = px;
        y = py;
        shift = sh;
    };
    button_->OnMouseLeave = [&](QObject* s, TPictureButton::TShiftState sh, int px, int py) {
        EXPECT_EQ(s, button_);
        events.push_back("leave");
        x = px;
        y = py;
        shift = sh;
    };
    HoverAt({7, 9});
    EXPECT_EQ(events, Log({"enter"}));
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 9);
    EXPECT_EQ(shift, 0u);
    HoverAt(kOutside);
    EXPECT_EQ(events, Log({"enter", "leave"}));
    EXPECT_EQ(x, kOutside.x());
    EXPECT_EQ(y, kOutside.y());

    // While the button holds the mouse, crossing its edge still counts, and
    // the window system's own leave after the release is not a second one.
    events.clear();
    mouse_.Press(button_, Qt::LeftButton);
    mouse_.Move(button_, kOutside);
    mouse_.Move(button_, {5, 5});
    mouse_.Move(button_, kOutside);
    mouse_.Release(button_, Qt::LeftButton, kOutside);
    EXPECT_EQ(events, Log({"enter", "leave", "enter", "leave"}));
}

}  // namespace
}  // namespace pictbtn_test
