#include <QApplication>
#include <QUrl>

#include "forms/FormsFixture.h"
#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "framework/VersionFiles.h"
#include "framework/VersionResource.h"
#include "framework/qt/Platform.h"
#include "framework/qt/SysColors.h"
#include "support/Mouse.h"

namespace {

using About = FormsTest;
using namespace versiontest;

QString U(const char* s) { return QString::fromUtf8(s); }

TEST(VersionInfoString, ReadsTheRunningExecutable) {
    EXPECT_EQ(GetVersionInfoString(kProductNameIndex), framework::Cp932("ホロンパ"));
    EXPECT_EQ(GetVersionInfoString(kProductVersionIndex), "1.0.0");
    EXPECT_EQ(GetVersionInfoString(3), "1.0.0.0");
    EXPECT_EQ(GetVersionInfoString(1), "Brevantis");
    EXPECT_EQ(GetVersionInfoString(0), "");
    EXPECT_EQ(GetVersionInfoString(11), "");  // SpecialBuild is not stored
}

// An executable-like file whose version information is `info`.
std::string WriteExe(const testsupport::TempDir& dir, const Node& info) {
    const std::string path = dir.file("prog");
    testsupport::WriteAll(path, MakeElf(framework::kVersionSectionName, Serialize(info)).bytes);
    return path;
}

TEST(VersionInfoString, TranslationPicksTheStringTable) {
    testsupport::TempDir dir;
    // Language 0409 and code page 04E4: the table "040904E4", four upper-case digits each.
    const std::string exe = WriteExe(
        dir, VersionInfo(u"040904E4", {Text(u"ProductName", u"Other")}, U16(0x0409) + U16(0x04E4)));
    EXPECT_EQ(GetVersionInfoString(exe, 9), "Other");
    const std::string mismatched = WriteExe(
        dir, VersionInfo(u"041103A4", {Text(u"ProductName", u"X")}, U16(0x0409) + U16(0x04E4)));
    EXPECT_EQ(GetVersionInfoString(mismatched, 9), "");
}

TEST(VersionInfoString, MissingInformationAndMissingTranslation) {
    testsupport::TempDir dir;
    testsupport::WriteAll(dir.file("plain"), "not an executable");
    EXPECT_EQ(GetVersionInfoString(dir.file("plain"), 9), "");
    EXPECT_EQ(GetVersionInfoString(dir.file("absent"), 10), "");
    const std::string exe =
        WriteExe(dir, VersionInfo(u"041103A4", {Text(u"ProductName", u"X")}, ""));
    for (std::uint8_t i = 0; i < 12; ++i) {
        try {
            GetVersionInfoString(exe, i);
            ADD_FAILURE() << int(i);
        } catch (const framework::Exception& e) {
            EXPECT_EQ(e.Message(), framework::Cp932("情報の取得に失敗しました"));
        }
    }
}

TEST_F(About, LayoutAndTextsFromTheVersionInformation) {
    EXPECT_EQ(frmVersion->Caption(), U("バージョン情報"));
    EXPECT_EQ(frmVersion->ClientWidth(), 371);
    EXPECT_EQ(frmVersion->ClientHeight(), 353);
    EXPECT_EQ(frmVersion->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(frmVersion->Label1->text(), U("ホロンパ"));
    EXPECT_EQ(frmVersion->Label1->pos(), QPoint(66, 24));
    EXPECT_EQ(frmVersion->Label2->text(), U("Version: 1.0.0"));
    EXPECT_EQ(frmVersion->Label2->x() + frmVersion->Label2->width(), 308);
    EXPECT_EQ(frmVersion->Label4->text(), U("このソフトウェアの使用に関して、直接的または\r\n"
                                            "間接的に生じる一切の損害当について、\r\n"
                                            "作者は如何なる責任も負いません。\r\n"
                                            "このことは、このソフトウェアの使用をもって\r\n"
                                            "同意されたものと見なします。"));
    EXPECT_EQ(frmVersion->Label4->geometry(), QRect(77, 264, 268, 81));
    EXPECT_EQ(frmVersion->Label5->text(), "Brevantis");
    EXPECT_TRUE(frmVersion->Label5->font().bold());
    EXPECT_EQ(frmVersion->GroupBox1->title(), U("作者名"));
    EXPECT_EQ(frmVersion->Label3->text(), U("ヌマリ"));
    EXPECT_EQ(frmVersion->GroupBox2->title(), U("最新版・サポート情報"));
    EXPECT_EQ(frmVersion->GroupBox2->geometry(), QRect(77, 160, 217, 81));
    EXPECT_TRUE(frmVersion->URLLink1->Caption().startsWith(U("『ヌマリの空間』\r\n")));
    EXPECT_TRUE(frmVersion->URLLink1->Caption().endsWith(frmVersion->URLLink1->Link()));
    EXPECT_EQ(frmVersion->URLLink2->Caption(), frmVersion->URLLink2->Link());
    EXPECT_EQ(frmVersion->URLLink2->URLType(), tpMAIL);
    ASSERT_NE(frmVersion->Image2->pixmap().cacheKey(), QPixmap().cacheKey());
    EXPECT_EQ(frmVersion->Image2->pixmap().size(), QSize(32, 32));
}

TEST_F(About, MenuIsDisabledWhileOpenAnyNumberOfTimes) {
    for (int i = 0; i < 3; ++i) {
        Form1->Button7->click();
        EXPECT_TRUE(frmVersion->Visible());
        EXPECT_FALSE(Form1->Enabled());
        frmVersion->close();  // the close box
        EXPECT_FALSE(frmVersion->Visible());
        EXPECT_TRUE(Form1->Enabled());
        EXPECT_EQ(frmVersion->Label2->text(), U("Version: 1.0.0"));
    }
}

TEST_F(About, LinksOpenTheirTargetsAndShowNoHint) {
    Form1->Button7->click();
    QList<QUrl> opened;
    auto previous = framework::SetShellOpenHook([&](const QUrl& url) {
        opened << url;
        return true;
    });
    mouse.Move(frmVersion->URLLink1, {3, 3});
    EXPECT_FALSE(frmVersion->URLLink1->HintShown());
    mouse.Press(frmVersion->URLLink1, Qt::LeftButton, {3, 3});
    mouse.Release(frmVersion->URLLink1, Qt::LeftButton, {3, 3});
    mouse.Pause();
    mouse.Press(frmVersion->URLLink2, Qt::LeftButton, {3, 3});
    mouse.Release(frmVersion->URLLink2, Qt::LeftButton, {3, 3});
    framework::SetShellOpenHook(previous);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl(frmVersion->URLLink1->Link()));
    EXPECT_EQ(opened[1], QUrl("mailto:" + frmVersion->URLLink2->Link()));
}

TEST_F(About, WithoutVersionInformationTheNamesAreEmpty) {
    testsupport::TempDir dir;
    testsupport::WriteAll(dir.file("plain"), "no version here");
    TfrmVersion other;  // its own texts come from this test program
    other.FillTexts(dir.file("plain"));
    EXPECT_EQ(other.Label1->text(), QString());
    EXPECT_EQ(other.Label2->text(), "Version: ");
    EXPECT_EQ(other.Label2->x() + other.Label2->width(), 308);
    EXPECT_FALSE(other.Label4->text().isEmpty());
}

TEST_F(About, MissingTranslationLeavesThePlaceholders) {
    testsupport::TempDir dir;
    const std::string exe =
        WriteExe(dir, VersionInfo(u"041103A4", {Text(u"ProductName", u"X")}, ""));
    TfrmVersion other;
    // Start from the placeholders a fresh window has before its texts are filled.
    other.Label1->setText("Label1");
    other.Label4->setText("Label4");
    other.URLLink1->setCaption("URLLink1");
    other.Image2->clear();
    other.FillTexts(exe);
    EXPECT_EQ(other.Label1->text(), "Label1");
    EXPECT_EQ(other.Label4->text(), "Label4");
    EXPECT_EQ(other.URLLink1->Caption(), "URLLink1");
    EXPECT_TRUE(other.Image2->pixmap().isNull());
}

TEST_F(About, GroupBoxesShowTheWhiteWindowWithTheCaptionOnTheTopLine) {
    for (framework::TGroupBox* box : {frmVersion->GroupBox1, frmVersion->GroupBox2}) {
        const QImage image = box->grab().toImage();
        EXPECT_TRUE(box->CaptionRect().contains(8, box->FrameTop()));
        EXPECT_EQ(image.pixel(box->width() - 20, box->FrameTop()),
                  box->palette().color(QPalette::Dark).rgb());
        EXPECT_EQ(image.pixel(box->width() / 2, box->height() - 8),
                  qRgb(255, 255, 255));  // not 252
    }
}

}  // namespace
