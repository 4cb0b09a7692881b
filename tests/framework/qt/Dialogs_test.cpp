#include "framework/qt/Dialogs.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "support/QtPrinters.h"

#include "framework/qt/Platform.h"
#include "support/GuiHelpers.h"

namespace {

using testsupport::ButtonTexts;
using testsupport::DialogText;
using testsupport::FindButton;
using testsupport::ModalHandler;

const QString kYes = QString::fromUtf16(u"はい(&Y)");
const QString kNo = QString::fromUtf16(u"いいえ(&N)");
const QString kCancel = QString::fromUtf16(u"キャンセル");

class DialogsTest : public ::testing::Test {
  protected:
    void SetUp() override { framework::SetApplicationTitle(QString::fromUtf16(u"ホロンパ")); }
    void TearDown() override { framework::SetApplicationTitle(QString()); }
};

// What a message box looked like when it came up.
struct BoxSeen {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    QPoint centreOffset;  // frame centre minus screen centre
};

BoxSeen Inspect(QWidget* w) {
    BoxSeen seen;
    seen.caption = w->windowTitle();
    seen.text = DialogText(w);
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box != nullptr) {
        seen.icon = box->icon();
        if (box->defaultButton() != nullptr) seen.defaultButton = box->defaultButton()->text();
    }
    seen.buttons = ButtonTexts(w);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    seen.centreOffset = w->frameGeometry().center() - screen.center();
    return seen;
}

// Closes a dialog the way the title bar's close box does.
void PressCloseBox(QWidget* dialog) {
    QCloseEvent close;
    QApplication::sendEvent(dialog->windowHandle(), &close);
}

TEST_F(DialogsTest, PlainMessageBoxHasTitleNoIconAndOneOkButton) {
    BoxSeen seen;
    ModalHandler answer([&](QWidget* w) {
        seen = Inspect(w);
        FindButton(w, "OK")->click();
    });
    framework::ShowMessage(QString::fromUtf16(u"スコアは120点です"));
    ASSERT_TRUE(answer.fired());
    EXPECT_EQ(seen.caption, QString::fromUtf16(u"ホロンパ"));
    EXPECT_EQ(seen.text, QString::fromUtf16(u"スコアは120点です"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
    EXPECT_EQ(seen.defaultButton, "OK");
    EXPECT_LE(std::abs(seen.centreOffset.x()), 1);
    EXPECT_LE(std::abs(seen.centreOffset.y()), 1);
}

TEST_F(DialogsTest, PlainMessageBoxAnswersEnterAndEsc) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        ModalHandler answer([key](QWidget* w) { QTest::keyClick(w, key); });
        framework::ShowMessage("Congratulations!!");
        EXPECT_TRUE(answer.fired()) << key;
    }
}

TEST_F(DialogsTest, ErrorBoxHasTitleStopIconAndOneOkButton) {
    BoxSeen seen;
    ModalHandler answer([&](QWidget* w) {
        seen = Inspect(w);
        FindButton(w, "OK")->click();
    });
    framework::ShowErrorBox("Disk full.");
    ASSERT_TRUE(answer.fired());
    EXPECT_EQ(seen.caption, QString::fromUtf16(u"ホロンパ"));
    EXPECT_EQ(seen.text, "Disk full.");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
}

// Each box belongs to the window it is opened for, or else to the active
// window, so the desktop keeps it over that window; it stays centred on the
// screen where the platform lets a program place it.
TEST_F(DialogsTest, BoxesBelongToTheirWindow) {
    QWidget owner, active;
    owner.setGeometry(0, 0, 200, 100);
    owner.show();
    active.show();
    QList<const QWindow*> parents;
    BoxSeen seen;
    const auto answer = [&](QWidget* w) {
        parents.push_back(w->windowHandle()->transientParent());
        seen = Inspect(w);
        QTest::keyClick(w, Qt::Key_Escape);
    };
    for (int i = 0; i < 4; ++i) {
        active.activateWindow();
        for (int e = 0; e < 3; ++e) QCoreApplication::processEvents();
        ModalHandler handler(answer);
        if (i == 0) framework::ShowMessage("56", &owner);
        if (i == 1) framework::MessageDlgConfirm("?", &owner);
        if (i == 2) framework::InputBox("title", QString(), QString(), &owner);
        if (i == 3) framework::ShowErrorBox("failed");  // from a handler of the active window
        ASSERT_TRUE(handler.fired()) << i;
        EXPECT_LE(std::abs(seen.centreOffset.x()), 1) << i;
        EXPECT_LE(std::abs(seen.centreOffset.y()), 1) << i;
    }
    EXPECT_EQ(parents, QList<const QWindow*>({owner.windowHandle(), owner.windowHandle(),
                                              owner.windowHandle(), active.windowHandle()}));
}

// Under a title bar a box is at least as wide as its caption and the bar's
// buttons need: "Congratulations!!" alone would leave it 100 pixels wide.
// A frame without a title bar asks for nothing.
TEST_F(DialogsTest, ABoxFitsItsCaptionUnderATitleBar) {
    const QString caption = QString::fromUtf16(u"ホロンパ");
    const QMargins titled(1, 20, 1, 1);  // as openbox frames a window
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int needed = framework::CaptionWidth(caption, titled);
    EXPECT_GE(needed, QFontMetrics(bold).horizontalAdvance(caption) + 4 * 19);
    EXPECT_EQ(framework::CaptionWidth(caption, QMargins(2, 2, 2, 2)), 0);
    QMessageBox box;
    box.setWindowTitle(caption);
    box.setText("Congratulations!!");
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.show();
    EXPECT_LT(box.width(), needed);
    box.hide();
    framework::FitCaption(box, titled);
    box.show();
    EXPECT_GE(box.width(), needed);
}

TEST_F(DialogsTest, ConfirmationBoxLooksAsExpected) {
    BoxSeen seen;
    ModalHandler answer([&](QWidget* w) {
        seen = Inspect(w);
        FindButton(w, kNo)->click();
    });
    framework::MessageDlgConfirm(QString::fromUtf16(u"準備はいいですか？"));
    ASSERT_TRUE(answer.fired());
    EXPECT_EQ(seen.caption, QString::fromUtf16(u"確認"));
    EXPECT_EQ(seen.text, QString::fromUtf16(u"準備はいいですか？"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, (QStringList{kYes, kNo}));
    EXPECT_EQ(seen.defaultButton, kYes);
    EXPECT_LE(std::abs(seen.centreOffset.x()), 1);
    EXPECT_LE(std::abs(seen.centreOffset.y()), 1);
}

TEST_F(DialogsTest, ConfirmationResultsFollowTheAnswer) {
    struct Case {
        const char* name;
        std::function<void(QWidget*)> answer;
        int expected;
    };
    const Case cases[] = {
        {"yes button", [](QWidget* w) { FindButton(w, kYes)->click(); }, framework::mrYes},
        {"no button", [](QWidget* w) { FindButton(w, kNo)->click(); }, framework::mrNo},
        {"Enter", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }, framework::mrYes},
        {"Esc", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, framework::mrNo},
        {"key Y", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Y); }, framework::mrYes},
        {"key N", [](QWidget* w) { QTest::keyClick(w, Qt::Key_N); }, framework::mrNo},
        {"close box", PressCloseBox, framework::mrCancel},
    };
    EXPECT_EQ(framework::mrYes, 6);
    EXPECT_EQ(framework::mrNo, 7);
    EXPECT_EQ(framework::mrCancel, 2);
    for (const Case& c : cases) {
        ModalHandler answer(c.answer);
        const int result = framework::MessageDlgConfirm("?");
        EXPECT_TRUE(answer.fired()) << c.name;
        EXPECT_EQ(result, c.expected) << c.name;
    }
}

// Runs an input box and lets `act` work on its edit and buttons.
QString RunInputBox(const QString& defaultText, std::function<void(QWidget*, QLineEdit*)> act,
                    bool* fired = nullptr) {
    ModalHandler answer([&](QWidget* w) { act(w, w->findChild<QLineEdit*>()); });
    const QString result = framework::InputBox(QString::fromUtf16(u"【3位】名前を入力してください"),
                                               QString(), defaultText);
    if (fired != nullptr) *fired = answer.fired();
    return result;
}

TEST_F(DialogsTest, InputBoxShowsTitleEditAndButtons) {
    QString caption;
    QStringList buttons;
    QString selected;
    bool focused = false;
    QString defaultButton;
    bool fired = false;
    const QString result = RunInputBox(
        "NoName",
        [&](QWidget* w, QLineEdit* edit) {
            caption = w->windowTitle();
            buttons = ButtonTexts(w);
            selected = edit->selectedText();
            focused = w->focusWidget() == edit;
            for (QPushButton* b : w->findChildren<QPushButton*>())
                if (b->isDefault()) defaultButton = b->text();
            FindButton(w, "OK")->click();
        },
        &fired);
    ASSERT_TRUE(fired);
    EXPECT_EQ(caption, QString::fromUtf16(u"【3位】名前を入力してください"));
    EXPECT_EQ(buttons, (QStringList{"OK", kCancel}));
    EXPECT_EQ(selected, "NoName");
    EXPECT_TRUE(focused);
    EXPECT_EQ(defaultButton, "OK");
    EXPECT_EQ(result, "NoName");
}

TEST_F(DialogsTest, InputBoxReturnsTypedTextOnOkAndEnter) {
    // Typing replaces the selected start text.
    EXPECT_EQ(RunInputBox("old",
                          [](QWidget* w, QLineEdit* edit) {
                              QTest::keyClicks(edit, "Taro");
                              FindButton(w, "OK")->click();
                          }),
              "Taro");
    EXPECT_EQ(RunInputBox("",
                          [](QWidget*, QLineEdit* edit) {
                              edit->insert(QString::fromUtf16(u"花子"));
                              QTest::keyClick(edit, Qt::Key_Return);
                          }),
              QString::fromUtf16(u"花子"));
}

TEST_F(DialogsTest, InputBoxCancelEscAndCloseBoxReturnEmptyText) {
    const std::function<void(QWidget*, QLineEdit*)> answers[] = {
        [](QWidget* w, QLineEdit* edit) {
            QTest::keyClicks(edit, "Taro");
            FindButton(w, kCancel)->click();
        },
        [](QWidget*, QLineEdit* edit) {
            QTest::keyClicks(edit, "Taro");
            QTest::keyClick(edit, Qt::Key_Escape);
        },
        [](QWidget* w, QLineEdit* edit) {
            QTest::keyClicks(edit, "Taro");
            PressCloseBox(w);
        },
    };
    for (const auto& answer : answers) {
        bool fired = false;
        EXPECT_EQ(RunInputBox("x", answer, &fired), QString());
        EXPECT_TRUE(fired);
    }
}

TEST_F(DialogsTest, InputBoxHoldsAtMost255BytesOfCp932) {
    // 250 single-byte characters, then double-byte ones: two fit (254 bytes),
    // the third would make 256 and is refused; a last single byte fits.
    const QString result = RunInputBox("", [](QWidget* w, QLineEdit* edit) {
        QTest::keyClicks(edit, QString(250, 'a'));
        for (char16_t c : std::u16string_view(u"あいう"))
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(QChar(c)), {});
        QTest::keyClicks(edit, "bc");
        FindButton(w, "OK")->click();
    });
    EXPECT_EQ(result, QString(250, 'a') + QString::fromUtf16(u"あいb"));
    EXPECT_EQ(framework::Cp932Length(result), 255);

    // A paste is cut to what fits.
    const QString pasted = RunInputBox("", [](QWidget* w, QLineEdit* edit) {
        edit->insert(QString(300, 'z'));
        FindButton(w, "OK")->click();
    });
    EXPECT_EQ(pasted, QString(255, 'z'));
}

TEST(Cp932LimitTest, CountsDoubleByteCharactersTwice) {
    EXPECT_EQ(framework::Cp932Length(""), 0);
    EXPECT_EQ(framework::Cp932Length("abc"), 3);
    EXPECT_EQ(framework::Cp932Length(QString::fromUtf16(u"名前")), 4);
    EXPECT_EQ(framework::Cp932Length(QString::fromUtf16(u"ｱｲ")), 2);  // half-width kana
    // Characters CP932 cannot hold become one "?".
    EXPECT_EQ(framework::Cp932Length(QString::fromUtf16(u"\U0001F600")), 1);
}

TEST(Cp932LimitTest, CutsTheCharactersBeforeTheCursor) {
    int cursor = 4;
    EXPECT_EQ(framework::FitCp932Limit(QString::fromUtf16(u"ab名前cd"), cursor, 6),
              QString::fromUtf16(u"ab名cd"));
    EXPECT_EQ(cursor, 3);

    cursor = 2;
    EXPECT_EQ(framework::FitCp932Limit("abc", cursor, 5), "abc");
    EXPECT_EQ(cursor, 2);

    // A surrogate pair goes as a whole.
    const QString emoji = QString::fromUtf16(u"a\U0001F600");
    cursor = static_cast<int>(emoji.size());
    EXPECT_EQ(framework::FitCp932Limit(emoji + "b", cursor, 2), "ab");
    EXPECT_EQ(cursor, 1);
}

}  // namespace
