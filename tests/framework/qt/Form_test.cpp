#include "framework/qt/Form.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <stdexcept>

#include "framework/SysUtils.h"
#include "framework/qt/Dialogs.h"
#include "framework/qt/Platform.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"

namespace {

using testsupport::DialogText;
using testsupport::FindButton;
using testsupport::ModalHandler;

// A window that records its handlers and can be told to fail or refuse.
class TTestForm : public framework::TForm {
  public:
    TTestForm() {
        Button1 = new QPushButton("Button1", this);
        Button1->setGeometry(10, 10, 80, 25);
        SetCaption("TestForm");
        SetClientSize(200, 120);
        Create();
    }

    QPushButton* Button1;
    int creates = 0;
    bool buttonExistedInCreate = false;
    int shows = 0;
    int hides = 0;
    int closeQueries = 0;
    bool visibleDuringShow = true;
    bool visibleDuringHide = true;
    bool allowClose = true;
    std::function<void()> onShow;
    std::function<void()> onCloseQuery;

  protected:
    void FormCreate() override {
        ++creates;
        buttonExistedInCreate = Button1 != nullptr;
    }
    void FormShow() override {
        ++shows;
        visibleDuringShow = isVisible();
        if (onShow) onShow();
    }
    void FormHide() override {
        ++hides;
        visibleDuringHide = isVisible();
    }
    void FormCloseQuery(bool& canClose) override {
        ++closeQueries;
        if (onCloseQuery) onCloseQuery();
        canClose = allowClose;
    }
};

// A close request as the desktop sends it (close box, Alt+F4).
void PressCloseBox(QWidget* window) {
    QCloseEvent close;
    QApplication::sendEvent(window->windowHandle(), &close);
}

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override { framework::SetApplicationTitle(QString::fromUtf16(u"ホロンパ")); }
    void TearDown() override { framework::SetApplicationTitle(QString()); }
};

TEST_F(FormTest, CreateRunsOnceInsideConstructionWithControlsInPlace) {
    TTestForm form;
    EXPECT_EQ(form.creates, 1);
    EXPECT_TRUE(form.buttonExistedInCreate);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.shows, 0);
    form.Show();
    form.Hide();
    EXPECT_EQ(form.creates, 1);
}

TEST_F(FormTest, ShowRunsFormShowBeforeVisibleAndOnlyWhenHidden) {
    TTestForm form;
    form.Show();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.shows, 1);
    EXPECT_FALSE(form.visibleDuringShow);

    form.Show();  // already visible
    form.SetVisible(true);
    EXPECT_EQ(form.shows, 1);

    form.Hide();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.hides, 1);
    EXPECT_FALSE(form.visibleDuringHide);
    form.Hide();  // already hidden
    EXPECT_EQ(form.hides, 1);

    form.SetVisible(true);
    EXPECT_EQ(form.shows, 2);
    form.SetVisible(false);
    EXPECT_EQ(form.hides, 2);
}

TEST_F(FormTest, ModalBoxOpenedInFormShowAppearsBeforeTheWindow) {
    TTestForm form;
    form.onShow = [] { framework::ShowMessage(QString::fromUtf16(u"スコアは10点です")); };
    bool formVisibleWhileBoxUp = true;
    QString boxText;
    ModalHandler answer([&](QWidget* box) {
        formVisibleWhileBoxUp = form.isVisible();
        boxText = DialogText(box);
        FindButton(box, "OK")->click();
    });
    form.Show();
    ASSERT_TRUE(answer.fired());
    EXPECT_FALSE(formVisibleWhileBoxUp);
    EXPECT_EQ(boxText, QString::fromUtf16(u"スコアは10点です"));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(FormTest, FailingFormShowIsReportedAndTheWindowShownAllTheSame) {
    TTestForm form;
    bool restOfShowRan = false;
    form.onShow = [&] {
        throw framework::Exception(framework::Cp932("ランキングを読めません"));
        restOfShowRan = true;
    };
    QString boxText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool formVisibleWhileBoxUp = true;
    ModalHandler answer([&](QWidget* box) {
        boxText = DialogText(box);
        icon = qobject_cast<QMessageBox*>(box)->icon();
        formVisibleWhileBoxUp = form.isVisible();
        FindButton(box, "OK")->click();
    });
    form.Show();
    ASSERT_TRUE(answer.fired());
    EXPECT_EQ(boxText, QString::fromUtf16(u"ランキングを読めません."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_FALSE(formVisibleWhileBoxUp);
    EXPECT_FALSE(restOfShowRan);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(FormTest, CloseRequestsRunCloseQueryThenHideWithoutDestroying) {
    // The close box (and Alt+F4, which the desktop turns into the same
    // request) and Close() from code behave alike.
    const std::pair<const char*, std::function<void(TTestForm&)>> requests[] = {
        {"close box", [](TTestForm& f) { PressCloseBox(&f); }},
        {"QWidget::close", [](TTestForm& f) { f.close(); }},
        {"Close()", [](TTestForm& f) { f.Close(); }},
    };
    for (const auto& [name, request] : requests) {
        auto* form = new TTestForm;
        QPointer<TTestForm> alive(form);
        form->Show();
        request(*form);
        QApplication::processEvents();
        ASSERT_FALSE(alive.isNull()) << name;
        EXPECT_EQ(form->closeQueries, 1) << name;
        EXPECT_FALSE(form->isVisible()) << name;
        EXPECT_EQ(form->hides, 1) << name;
        // The same window shows again.
        form->Show();
        EXPECT_TRUE(form->isVisible()) << name;
        EXPECT_EQ(form->shows, 2) << name;
        delete form;
    }
}

TEST_F(FormTest, RefusedCloseKeepsTheWindow) {
    TTestForm form;
    form.allowClose = false;
    form.Show();
    PressCloseBox(&form);
    form.Close();
    EXPECT_EQ(form.closeQueries, 2);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.hides, 0);
}

TEST_F(FormTest, FailingCloseQueryLeavesCloseToItsCallerButIsReportedFromTheCloseBox) {
    TTestForm form;
    form.onCloseQuery = [] { throw std::runtime_error("board busy"); };
    form.Show();
    EXPECT_THROW(form.Close(), std::runtime_error);
    EXPECT_TRUE(form.isVisible());

    QString boxText;
    ModalHandler answer([&](QWidget* box) {
        boxText = DialogText(box);
        FindButton(box, "OK")->click();
    });
    PressCloseBox(&form);
    ASSERT_TRUE(answer.fired());
    EXPECT_EQ(boxText, "board busy.");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.hides, 0);
}

TEST_F(FormTest, DisabledWindowTakesNoInputAndIgnoresItsCloseBox) {
    TTestForm form;
    int clicks = 0;
    QObject::connect(form.Button1, &QPushButton::clicked, [&] { ++clicks; });
    form.Show();
    form.Button1->setFocus();

    form.SetEnabled(false);
    EXPECT_FALSE(form.Enabled());
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, form.Button1->geometry().center());
    QTest::keyClick(form.Button1, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);
    // The controls keep their own state (and look); the window refuses input.
    EXPECT_TRUE(form.Button1->isEnabled());

    PressCloseBox(&form);
    EXPECT_EQ(form.closeQueries, 0);
    EXPECT_TRUE(form.isVisible());

    form.SetEnabled(true);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, form.Button1->geometry().center());
    QTest::keyClick(form.Button1, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
}

TEST_F(FormTest, CloseFromCodeWorksOnADisabledWindow) {
    TTestForm form;
    form.Show();
    form.SetEnabled(false);
    form.Close();
    EXPECT_EQ(form.closeQueries, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.hides, 1);
}

TEST_F(FormTest, FirstShowingCentresLaterShowingsKeepThePosition) {
    TTestForm form;
    form.SetClientSize(300, 200);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect outer = form.frameGeometry();
    EXPECT_EQ(outer.size(), QSize(form.Width(), form.Height()));
    EXPECT_EQ(outer.left(), (screen.width() - outer.width()) / 2);
    EXPECT_EQ(outer.top(), (screen.height() - outer.height()) / 2);
    EXPECT_EQ(form.Left(), outer.left());
    EXPECT_EQ(form.Top(), outer.top());

    // Moved by the user, hidden, resized while hidden, shown again: the
    // top-left corner stays where it was left.
    form.move(40, 30);
    QTest::qWait(20);
    const QPoint left = form.frameGeometry().topLeft();
    form.Hide();
    form.SetClientSize(120, 90);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.frameGeometry().topLeft(), left);
    EXPECT_EQ(form.size(), QSize(120, 90));
}

TEST_F(FormTest, SizeFromFormShowIsUsedForCentring) {
    TTestForm form;
    form.onShow = [&] { form.SetClientSize(400, 300); };
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect outer = form.frameGeometry();
    EXPECT_EQ(outer.center().x() - screen.center().x(), 0);
    EXPECT_LE(std::abs(outer.center().y() - screen.center().y()), 1);
    EXPECT_EQ(form.size(), QSize(400, 300));
}

TEST_F(FormTest, ClientSizeIsFixedAndOuterSizeAddsTheRealFrame) {
    TTestForm form;
    form.SetClientSize(341, 167);
    EXPECT_EQ(form.ClientWidth(), 341);
    EXPECT_EQ(form.ClientHeight(), 167);
    EXPECT_EQ(form.minimumSize(), QSize(341, 167));
    EXPECT_EQ(form.maximumSize(), QSize(341, 167));
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QMargins frame = form.windowHandle()->frameMargins();
    EXPECT_EQ(form.Width(), 341 + frame.left() + frame.right());
    EXPECT_EQ(form.Height(), 167 + frame.top() + frame.bottom());
    EXPECT_EQ(form.frameGeometry().size(), QSize(form.Width(), form.Height()));

    // Outer sizes set before the first showing include the frame too.
    TTestForm square;
    square.SetHeight(540);
    square.SetWidth(square.Height());
    square.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&square));
    EXPECT_EQ(square.frameGeometry().size(), QSize(540, 540));
}

// A window manager's frame, there only while the window is shown.
class TFramedForm : public TTestForm {
  protected:
    QMargins NativeFrameMargins() const override {
        return isVisible() ? QMargins(1, 20, 1, 1) : QMargins();
    }
};

TEST_F(FormTest, HiddenWindowKeepsTheFrameItWasLastShownWith) {
    TFramedForm form;
    form.SetClientSize(500, 500);
    EXPECT_EQ(form.Width(), 500);  // never framed yet
    form.Show();
    EXPECT_EQ(QSize(form.Width(), form.Height()), QSize(502, 521));
    form.Hide();
    EXPECT_EQ(QSize(form.Width(), form.Height()), QSize(502, 521));
    form.SetWidth(503);
    EXPECT_EQ(form.ClientWidth(), 501);
}

// Under a window manager a click on a window activates it; a disabled owner
// hands that on to the window it owns.
TEST_F(FormTest, AWindowShownAboveAnotherIsOwnedByItWhileShown) {
    TTestForm owner;
    TTestForm owned;
    owner.Show();
    owned.ShowAbove(&owner);
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());
    EXPECT_EQ(owned.windowType(), Qt::Dialog);  // what X11 keeps above its owner
    const auto activate = [](QWidget* clicked) {
        clicked->activateWindow();
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        return QApplication::activeWindow();
    };
    owner.SetEnabled(false);
    EXPECT_EQ(activate(&owner), &owned);
    owner.SetEnabled(true);
    EXPECT_EQ(activate(&owner), &owner);

    owned.Hide();
    owned.Show();
    EXPECT_EQ(owned.windowHandle()->transientParent(), nullptr);
    EXPECT_EQ(owned.windowType(), Qt::Window);
    owner.SetEnabled(false);
    EXPECT_EQ(activate(&owner), &owner);
}

TEST_F(FormTest, TitleBarHasNoMaximiseButton) {
    TTestForm form;
    EXPECT_EQ(form.BorderStyle(), framework::TFormBorderStyle::bsSingle);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

    form.SetBorderStyle(framework::TFormBorderStyle::bsDialog);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

    // Changing the frame of a shown window is no hide or show of the form.
    form.Show();
    form.SetBorderStyle(framework::TFormBorderStyle::bsSingle);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.shows, 1);
    EXPECT_EQ(form.hides, 0);
}

TEST_F(FormTest, CaptionIsTheWindowTitle) {
    TTestForm form;
    form.SetCaption(QString::fromUtf16(u"経過時間:0秒"));
    EXPECT_EQ(form.Caption(), QString::fromUtf16(u"経過時間:0秒"));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf16(u"経過時間:0秒"));
}

// Runs the event loop until it ends or `limitMs` passes; returns its exit code
// (99 when it had to be stopped).
int RunEventLoop(std::function<void()> during, int limitMs = 3000) {
    QTimer start;
    start.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, during);
    // Scoped, so that it cannot end a later test's loop.
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    start.start(0);
    limit.start(limitMs);
    return QApplication::exec();
}

TEST_F(FormTest, ClosingTheMainFormEndsTheApplicationOthersDoNot) {
    TTestForm main;
    TTestForm other;
    framework::TForm::SetMainForm(&main);
    EXPECT_EQ(framework::TForm::MainForm(), &main);
    main.Show();
    other.Show();

    // Another window closing leaves the loop running (until the limit).
    EXPECT_EQ(RunEventLoop([&] { other.Close(); }, 200), 99);
    EXPECT_FALSE(other.isVisible());

    EXPECT_EQ(RunEventLoop([&] { PressCloseBox(&main); }), 0);
    EXPECT_EQ(main.closeQueries, 1);
    // A refused close does not end it.
    main.Show();
    main.allowClose = false;
    EXPECT_EQ(RunEventLoop([&] { main.Close(); }, 200), 99);
    EXPECT_TRUE(main.isVisible());

    framework::TForm::SetMainForm(nullptr);
}

TEST_F(FormTest, CreateFormMakesTheFirstFormTheMainForm) {
    framework::TForm::SetMainForm(nullptr);
    TTestForm* first = nullptr;
    TTestForm* second = nullptr;
    framework::CreateForm(first);
    framework::CreateForm(second);
    EXPECT_EQ(first->creates, 1);
    EXPECT_EQ(framework::TForm::MainForm(), first);
    delete second;
    delete first;
    EXPECT_EQ(framework::TForm::MainForm(), nullptr);
}

}  // namespace
