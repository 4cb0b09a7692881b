#include "framework/qt/MouseCapture.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include "support/QtPrinters.h"

namespace {

// A plain widget that records the mouse buttons it is pressed and released with.
class Recorder : public QWidget {
  public:
    using QWidget::QWidget;
    std::vector<Qt::MouseButton> presses;
    std::vector<Qt::MouseButton> releases;
    QPoint lastReleasePos;

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        presses.push_back(e->button());
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        releases.push_back(e->button());
        lastReleasePos = e->position().toPoint();
        e->accept();
    }
};

using Buttons = std::vector<Qt::MouseButton>;

// Two plain widgets side by side in one window, driven through the window as
// the desktop delivers the mouse.
class MouseCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(200, 100);
        a = new Recorder(&window);
        a->setGeometry(0, 0, 100, 100);
        b = new Recorder(&window);
        b->setGeometry(100, 0, 100, 100);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        qApp->installEventFilter(&filter);
    }

    // Press over one point of the window and release over another.
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QWindow* w = window.windowHandle();
        QTest::mousePress(w, button, {}, from);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, button, {}, to);
    }

    const QPoint inA{30, 50};
    const QPoint inB{160, 40};
    QWidget window;
    Recorder* a = nullptr;
    Recorder* b = nullptr;
    framework::MouseCaptureFilter filter;
};

TEST_F(MouseCaptureTest, RightAndMiddleReleasesGoToTheWidgetUnderThePointer) {
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        a->presses.clear();
        a->releases.clear();
        b->presses.clear();
        b->releases.clear();
        Drag(button, inA, inB);
        EXPECT_EQ(a->presses, Buttons{button});
        EXPECT_EQ(a->releases, Buttons{}) << "the pressed widget must not get the release";
        EXPECT_EQ(b->presses, Buttons{});
        EXPECT_EQ(b->releases, Buttons{button});
        EXPECT_EQ(b->lastReleasePos, inB - QPoint(100, 0));  // in b's own coordinates
    }
}

TEST_F(MouseCaptureTest, LeftPressCapturesTheMouse) {
    Drag(Qt::LeftButton, inA, inB);
    EXPECT_EQ(a->releases, Buttons{Qt::LeftButton});
    EXPECT_EQ(b->releases, Buttons{});

    // While the left button is held, a right release stays with the captor.
    QWindow* w = window.windowHandle();
    a->releases.clear();
    QTest::mousePress(w, Qt::LeftButton, {}, inA);
    QTest::mousePress(w, Qt::RightButton, {}, inA);
    QTest::mouseMove(w, inB);
    QTest::mouseRelease(w, Qt::RightButton, {}, inB);
    QTest::mouseRelease(w, Qt::LeftButton, {}, inB);
    EXPECT_EQ(a->releases, (Buttons{Qt::RightButton, Qt::LeftButton}));
    EXPECT_EQ(b->releases, Buttons{});
}

TEST_F(MouseCaptureTest, ReleaseOnThePressedWidgetIsDeliveredOnce) {
    Drag(Qt::RightButton, inA, inA + QPoint(5, 5));
    EXPECT_EQ(a->releases, Buttons{Qt::RightButton});
    EXPECT_EQ(b->releases, Buttons{});
    // A double click is two releases.
    QTest::mouseDClick(window.windowHandle(), Qt::RightButton, {}, inB);
    EXPECT_EQ(b->releases, (Buttons{Qt::RightButton, Qt::RightButton}));
}

TEST_F(MouseCaptureTest, ReleaseOutsideEveryWidgetReachesNobody) {
    Drag(Qt::RightButton, inA, QPoint(260, 40));  // beyond the window's right edge
    EXPECT_EQ(a->presses, Buttons{Qt::RightButton});
    EXPECT_EQ(a->releases, Buttons{});
    EXPECT_EQ(b->releases, Buttons{});
}

TEST_F(MouseCaptureTest, WithoutTheFilterQtGivesTheReleaseToThePressedWidget) {
    // The situation the filter exists for: Qt's own implicit grab. (The
    // application-wide filter of InstallMouseCapture is set aside as well.)
    qApp->removeEventFilter(&filter);
    const auto global = qApp->findChildren<framework::MouseCaptureFilter*>();
    for (auto* f : global) qApp->removeEventFilter(f);
    Drag(Qt::RightButton, inA, inB);
    for (auto* f : global) qApp->installEventFilter(f);
    EXPECT_EQ(a->releases, Buttons{Qt::RightButton});
    EXPECT_EQ(b->releases, Buttons{});
}

TEST(InstallMouseCaptureTest, InstallsOnceForTheWholeApplication) {
    framework::InstallMouseCapture();
    framework::InstallMouseCapture();
    EXPECT_EQ(qApp->findChildren<framework::MouseCaptureFilter*>().size(), 1);

    QWidget window;
    window.resize(200, 100);
    auto* a = new Recorder(&window);
    a->setGeometry(0, 0, 100, 100);
    auto* b = new Recorder(&window);
    b->setGeometry(100, 0, 100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mousePress(window.windowHandle(), Qt::RightButton, {}, QPoint(30, 30));
    QTest::mouseRelease(window.windowHandle(), Qt::RightButton, {}, QPoint(130, 30));
    EXPECT_EQ(a->releases, Buttons{});
    EXPECT_EQ(b->releases, Buttons{Qt::RightButton});
}

}  // namespace
