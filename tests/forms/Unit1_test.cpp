#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/uGrobal.h"
#include "forms/FormsFixture.h"
#include "framework/qt/Platform.h"

namespace {

using Menu = FormsTest;

QString U(const char* s) { return QString::fromUtf8(s); }

TEST_F(Menu, StartUpCreatesFourWindowsAndShowsOnlyTheMenu) {
    EXPECT_EQ(framework::TForm::MainForm(), Form1);
    EXPECT_TRUE(Form1->Visible());
    EXPECT_FALSE(Form2->Visible());
    EXPECT_FALSE(Form3->Visible());
    EXPECT_FALSE(frmVersion->Visible());
    EXPECT_EQ(framework::ApplicationTitle(), U("ホロンパ"));
    EXPECT_EQ(Form1->Caption(), U("ホロンパ"));
    EXPECT_EQ(Form1->ClientWidth(), 341);
    EXPECT_EQ(Form1->ClientHeight(), 167);
    EXPECT_EQ(Form1->Label3->text(), U("パネル数は9枚になります"));
    // Every window carries the program icon, 32 x 32.
    for (QWidget* w : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2),
                       static_cast<QWidget*>(Form3), static_cast<QWidget*>(frmVersion)}) {
        EXPECT_FALSE(w->windowIcon().isNull());
        EXPECT_TRUE(w->windowIcon().availableSizes().contains(QSize(32, 32)));
    }
}

TEST_F(Menu, ControlsSitWhereTheyBelongInTabOrder) {
    struct Expect {
        QWidget* w;
        QRect geometry;
        const char* caption;
    } controls[] = {
        {Form1->Button2, {24, 0, 73, 25}, "初級者"},
        {Form1->Button3, {96, 0, 73, 25}, "中級者"},
        {Form1->Button4, {168, 0, 73, 25}, "上級者"},
        {Form1->Button5, {240, 0, 73, 25}, "神"},
        {Form1->SpinEdit1, {88, 48, 57, 21}, nullptr},
        {Form1->SpinEdit2, {88, 72, 57, 21}, nullptr},
        {Form1->Button1, {168, 70, 137, 25}, "Let's Go!!"},
        {Form1->Button6, {56, 112, 113, 25}, "スコアランキング"},
        {Form1->Button7, {168, 112, 113, 25}, "バージョン情報"},
        {Form1->Button8, {168, 136, 113, 25}, "終了"},
        {Form1->Button9, {56, 136, 113, 25}, "遊びかた【説明書】"},
    };
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        EXPECT_EQ(controls[i].w->geometry(), controls[i].geometry) << i;
        if (controls[i].caption != nullptr) {
            auto* b = qobject_cast<QPushButton*>(controls[i].w);
            EXPECT_EQ(b->text(), U(controls[i].caption));
            EXPECT_FALSE(b->isDefault());
        }
    }
    // Tab order: each control's successor in the focus chain is the next one.
    for (std::size_t i = 0; i + 1 < std::size(controls); ++i) {
        QWidget* next = controls[i].w->nextInFocusChain();
        while (next != nullptr && next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        // A spin edit's inner line edit comes right after it.
        while (next != nullptr && next->parentWidget() == controls[i].w)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, controls[i + 1].w) << i;
    }
    EXPECT_EQ(Form1->Label2->geometry(), QRect(40, 52, 42, 12));
    EXPECT_EQ(Form1->Label1->geometry(), QRect(56, 76, 24, 12));
    EXPECT_EQ(Form1->Label2->text(), U("行・列数"));
    EXPECT_EQ(Form1->Label1->text(), U("色数"));
    EXPECT_EQ(Form1->Label3->pos(), QPoint(152, 52));
}

TEST_F(Menu, PresetsSetSizeThenColoursAndRefreshTheLabel) {
    struct Preset {
        QPushButton* button;
        int size, colors;
        const char* label;
    } presets[] = {{Form1->Button5, 20, 20, "パネル数は400枚になります"},
                   {Form1->Button4, 10, 12, "パネル数は100枚になります"},
                   {Form1->Button3, 5, 7, "パネル数は25枚になります"},
                   {Form1->Button2, 3, 3, "パネル数は9枚になります"}};
    for (const Preset& p : presets) {
        p.button->click();
        EXPECT_EQ(Form1->SpinEdit1->Value(), p.size);
        EXPECT_EQ(Form1->SpinEdit2->Value(), p.colors);
        EXPECT_EQ(Form1->Label3->text(), U(p.label));
    }
}

TEST_F(Menu, SelectorsStayInRangeAndOnlyTheSizeMovesTheLabel) {
    Form1->SpinEdit1->SetValue(25);
    EXPECT_EQ(Form1->SpinEdit1->Value(), 20);
    Form1->SpinEdit1->SetValue(1);
    EXPECT_EQ(Form1->SpinEdit1->Value(), 3);
    Form1->SpinEdit1->setFocus();
    QTest::keyClick(Form1->SpinEdit1, Qt::Key_Down);
    EXPECT_EQ(Form1->SpinEdit1->Value(), 3);
    QTest::keyClick(Form1->SpinEdit1, Qt::Key_Up);
    EXPECT_EQ(Form1->SpinEdit1->Value(), 4);
    EXPECT_EQ(Form1->Label3->text(), U("パネル数は16枚になります"));
    Form1->SpinEdit2->SetValue(2);
    QTest::keyClick(Form1->SpinEdit2, Qt::Key_Down);
    EXPECT_EQ(Form1->SpinEdit2->Value(), 2);
    Form1->SpinEdit2->SetValue(99);
    EXPECT_EQ(Form1->SpinEdit2->Value(), 20);
    EXPECT_EQ(Form1->Label3->text(), U("パネル数は16枚になります"));
}

TEST_F(Menu, AnsweringNoChangesNothing) {
    ElapsedSeconds = 17;
    ClickCount = 5;
    const int size = BoardSize;
    AnswerNextBox(U("いいえ(&N)"));
    Form1->Button1->click();
    EXPECT_EQ(LastBoxText(), U("準備はいいですか？"));
    EXPECT_EQ(LastBoxCaption(), U("確認"));
    EXPECT_FALSE(Form2->Visible());
    EXPECT_TRUE(Form1->Visible());
    EXPECT_TRUE(Form1->Enabled());
    EXPECT_FALSE(Form2->Timer1->Enabled());
    EXPECT_EQ(ElapsedSeconds, 17);
    EXPECT_EQ(ClickCount, 5);
    EXPECT_EQ(BoardSize, size);
}

TEST_F(Menu, AnsweringYesStartsAGameAndHidesTheMenu) {
    Form2->SetEnabled(false);  // as a won game leaves it
    ElapsedSeconds = 40;
    ClickCount = 9;
    StartGame(4, 6);
    EXPECT_EQ(LastBoxCaption(), U("確認"));
    EXPECT_TRUE(Form2->Enabled());
    EXPECT_FALSE(Form1->Visible());
    EXPECT_TRUE(Form2->Timer1->Enabled());
    EXPECT_EQ(Form2->Timer1->Interval(), 1000);
    EXPECT_EQ(ElapsedSeconds, 0);
    EXPECT_EQ(ClickCount, 0);
    EXPECT_EQ(BoardSize, 4);
    EXPECT_EQ(ColorCount, 6);
    EXPECT_EQ(Form2->Panels.size(), 4u);
}

TEST_F(Menu, RankingButtonBrowsesAndDisablesTheMenuUntilClosed) {
    Form1->Button6->click();
    EXPECT_TRUE(dialogs->seen().isEmpty());  // browsing asks nothing
    EXPECT_EQ(ElapsedSeconds, -1);
    EXPECT_EQ(ClickCount, -1);
    EXPECT_TRUE(Form3->Visible());
    EXPECT_TRUE(Form1->Visible());
    EXPECT_FALSE(Form1->Enabled());
    // A disabled menu takes no clicks.
    QTest::mouseClick(Form1->Button5, Qt::LeftButton);
    EXPECT_EQ(Form1->SpinEdit1->Value(), 3);
    Form3->Close();
    EXPECT_FALSE(Form3->Visible());
    EXPECT_TRUE(Form1->Enabled());
    EXPECT_TRUE(Form1->Visible());
}

TEST_F(Menu, AboutButtonDisablesTheMenuWhileShown) {
    Form1->Button7->click();
    EXPECT_TRUE(frmVersion->Visible());
    EXPECT_FALSE(Form1->Enabled());
    frmVersion->Close();
    EXPECT_TRUE(Form1->Enabled());
}

TEST_F(Menu, ManualIsHandedToTheDesktopSilently) {
    QList<QUrl> opened;
    auto previous = framework::SetShellOpenHook([&](const QUrl& url) {
        opened << url;
        return false;  // as when no manual exists
    });
    Form1->Button9->click();
    framework::SetShellOpenHook(previous);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].isLocalFile());
    const QString expected = framework::ExeName();
    EXPECT_EQ(opened[0].toLocalFile(),
              expected.left(expected.lastIndexOf('.') > expected.lastIndexOf('/')
                                ? expected.lastIndexOf('.')
                                : expected.size()) +
                  ".html");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(Form1->Visible());
    EXPECT_TRUE(Form1->Enabled());
}

TEST_F(Menu, EnterClicksTheFocusedButtonOnceHeldOrNot) {
    const auto press = [](QPushButton* b, Qt::Key key, bool held = false) {
        b->setFocus();
        QKeyEvent event(QEvent::KeyPress, key,
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier, "\r", held);
        QApplication::sendEvent(b, &event);
    };
    press(Form1->Button5, Qt::Key_Return);  // 神
    EXPECT_EQ(Form1->SpinEdit1->Value(), 20);
    press(Form1->Button2, Qt::Key_Enter);  // 初級者
    EXPECT_EQ(Form1->SpinEdit1->Value(), 3);
    press(Form1->Button4, Qt::Key_Return, true);  // the repeats of a held key
    EXPECT_EQ(Form1->SpinEdit1->Value(), 3);
}

TEST_F(Menu, SpinEditMenuSpeaksJapanese) {
    QStringList texts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* a : menu->actions()) texts << a->text();
            menu->close();
        }
    });
    poll.start(10);
    const QPoint at(9, 9);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Form1->SpinEdit1->mapToGlobal(at));
    QApplication::sendEvent(Form1->SpinEdit1, &event);
    texts.removeAll(QString());  // separators
    ASSERT_GE(texts.size(), 4);  // copy, select all, step up, step down
    for (QString text : texts) {
        // Accelerator letters and key names ("(&C)", "\tCtrl+C") are no words.
        text = text.section('\t', 0, 0).remove(QRegularExpression("\\(&.\\)"));
        EXPECT_FALSE(text.contains(QRegularExpression("[A-Za-z]"))) << text.toStdString();
    }
}

}  // namespace
