#include "framework/qt/HandlerGuard.h"

#include <gtest/gtest.h>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "support/QtPrinters.h"

#include "framework/SysUtils.h"
#include "framework/qt/Platform.h"
#include "support/GuiHelpers.h"

namespace {

using testsupport::ButtonTexts;
using testsupport::DialogText;
using testsupport::FindButton;
using testsupport::ModalHandler;

TEST(ErrorBoxTextTest, AppendsAPeriodWhenTheLastCharacterSortsAfterIt) {
    EXPECT_EQ(framework::ErrorBoxText("abc"), "abc.");
    EXPECT_EQ(framework::ErrorBoxText("'x1' is no integer: 7"), "'x1' is no integer: 7.");
    EXPECT_EQ(framework::ErrorBoxText("path/"), "path/.");  // "/" is 0x2F
    EXPECT_EQ(framework::ErrorBoxText(QString::fromUtf16(u"'abc' は整数ではありません")),
              QString::fromUtf16(u"'abc' は整数ではありません."));
    EXPECT_EQ(framework::ErrorBoxText(QString::fromUtf16(u"ｱ")), QString::fromUtf16(u"ｱ."));
}

TEST(ErrorBoxTextTest, LeavesMessagesEndingAtOrBeforeThePeriod) {
    EXPECT_EQ(framework::ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(framework::ErrorBoxText("Oops!"), "Oops!");  // "!" is 0x21
    EXPECT_EQ(framework::ErrorBoxText("a-"), "a-");        // "-" is 0x2D
    EXPECT_EQ(framework::ErrorBoxText("a)"), "a)");
    EXPECT_EQ(framework::ErrorBoxText("a "), "a ");
    EXPECT_EQ(framework::ErrorBoxText(""), "");
}

TEST(ExceptionMessageTest, ConvertsOwnCp932MessagesAndReadsOthersAsUtf8) {
    // "読めません" in CP932 bytes.
    const framework::Exception own(std::string("\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1"));
    EXPECT_EQ(framework::ExceptionMessage(own), QString::fromUtf16(u"読めません"));
    // A derived kind is recognised through the base.
    const framework::EConvertError convert(std::string("x"));
    EXPECT_EQ(framework::ExceptionMessage(convert),
              QString::fromUtf16(u"'x' は整数ではありません"));
    EXPECT_EQ(framework::ExceptionMessage(std::runtime_error("plain failure")), "plain failure");
}

class HandlerGuardTest : public ::testing::Test {
  protected:
    void SetUp() override { framework::SetApplicationTitle(QString::fromUtf16(u"ホロンパ")); }
    void TearDown() override { framework::SetApplicationTitle(QString()); }
};

struct ErrorBoxSeen {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Answers the next error box with its "OK" button and records it.
std::unique_ptr<ModalHandler> AnswerErrorBox(ErrorBoxSeen& seen) {
    return std::make_unique<ModalHandler>([&seen](QWidget* w) {
        seen.caption = w->windowTitle();
        seen.text = DialogText(w);
        if (auto* box = qobject_cast<QMessageBox*>(w)) seen.icon = box->icon();
        seen.buttons = ButtonTexts(w);
        FindButton(w, "OK")->click();
    });
}

TEST_F(HandlerGuardTest, FailureShowsErrorBoxSkipsRestOfHandlerAndGoesOn) {
    ErrorBoxSeen seen;
    auto answer = AnswerErrorBox(seen);
    bool restRan = false;
    const bool ok = framework::RunGuarded([&] {
        throw framework::Exception(framework::Cp932("ランキングファイルに書き込めません"));
        restRan = true;
    });
    ASSERT_TRUE(answer->fired());
    EXPECT_FALSE(ok);
    EXPECT_FALSE(restRan);
    EXPECT_EQ(seen.caption, QString::fromUtf16(u"ホロンパ"));
    EXPECT_EQ(seen.text, QString::fromUtf16(u"ランキングファイルに書き込めません."));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});

    // The program goes on: the next handler runs normally.
    bool nextRan = false;
    EXPECT_TRUE(framework::RunGuarded([&] { nextRan = true; }));
    EXPECT_TRUE(nextRan);
}

TEST_F(HandlerGuardTest, PlainStdExceptionShowsWhat) {
    ErrorBoxSeen seen;
    auto answer = AnswerErrorBox(seen);
    framework::RunGuarded([] { throw std::runtime_error("Index out of range."); });
    ASSERT_TRUE(answer->fired());
    EXPECT_EQ(seen.text, "Index out of range.");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST_F(HandlerGuardTest, SuccessfulHandlerShowsNothing) {
    ModalHandler unexpected([](QWidget* w) { w->close(); }, 5);
    EXPECT_TRUE(framework::RunGuarded([] {}));
    QTest::qWait(80);  // longer than the handler's five polls
    EXPECT_FALSE(unexpected.fired());
}

TEST_F(HandlerGuardTest, GuardedSlotReportsAndPassesSignalArguments) {
    QPushButton button("Go");
    button.setCheckable(true);
    bool received = false;
    QObject::connect(&button, &QPushButton::toggled, &button, framework::Guarded([&](bool checked) {
        received = checked;
        throw std::logic_error("toggled");
    }));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, &button,
                     framework::Guarded([&] { ++clicks; }));

    ErrorBoxSeen seen;
    auto answer = AnswerErrorBox(seen);
    button.click();
    ASSERT_TRUE(answer->fired());
    EXPECT_TRUE(received);
    EXPECT_EQ(seen.text, "toggled.");
    // The failure of one slot did not stop the other.
    EXPECT_EQ(clicks, 1);
}

}  // namespace
