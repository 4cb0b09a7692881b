#include "framework/qt/Platform.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QTimer>

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include "util/VB2.h"

namespace {

TEST(ApplicationTitleTest, HeldByTheFrameworkWithTheAppNameAsFallback) {
    framework::SetApplicationTitle(QString());
    EXPECT_EQ(framework::ApplicationTitle(), QCoreApplication::applicationName());
    framework::SetApplicationTitle(QString::fromUtf16(u"ホロンパ"));
    EXPECT_EQ(framework::ApplicationTitle(), QString::fromUtf16(u"ホロンパ"));
    framework::SetApplicationTitle(QString());
}

TEST(ExeNameTest, IsThePathOfTheRunningExecutable) {
    const QString exe = framework::ExeName();
    EXPECT_TRUE(QFileInfo(exe).isAbsolute());
    EXPECT_EQ(QFileInfo(exe).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}

// Where none of the faces asked for is installed, the system's own Japanese
// faces stand in: proportional before fixed, never the vertical ones.
TEST(FontSubstitutionTest, SystemJapaneseFacesFollowThePreferredOnes) {
    const QList<framework::InstalledFace> system = {
        {QString::fromUtf16(u"IPAゴシック"), false},  {QString::fromUtf16(u"@IPA Pゴシック"), true},
        {QString::fromUtf16(u"IPA Pゴシック"), true}, {QStringLiteral("ms ui gothic"), true},
        {QString::fromUtf16(u"IPA Pゴシック"), true},
    };
    EXPECT_EQ(framework::JapaneseSubstitutes({"Yu Gothic UI", "MS UI Gothic"}, system),
              (QStringList{"Yu Gothic UI", "MS UI Gothic", QString::fromUtf16(u"IPA Pゴシック"),
                           QString::fromUtf16(u"IPAゴシック")}));
    EXPECT_EQ(framework::JapaneseSubstitutes({"Meiryo UI"}, {}), QStringList{"Meiryo UI"});
}

// The path as the core takes it is the one the windows show, and a Japanese
// file name crosses between the two unchanged.
TEST(ExeNameTest, ReachesTheCoreAsTheSameFile) {
    EXPECT_EQ(framework::FileNameFromCore(framework::ExePath()), framework::ExeName());
    const QString name = QString::fromUtf16(u"/tmp/ゲーム/ホロンパ 体験版/horonpa.ini");
    EXPECT_EQ(framework::FileNameToCore(name), "/tmp/ゲーム/ホロンパ 体験版/horonpa.ini");
    EXPECT_EQ(framework::FileNameFromCore(framework::FileNameToCore(name)), name);
}

// A program unpacked with its own Qt finds Qt's texts beside itself; an
// installed one, in the installed Qt's folder.
TEST(QtTranslationsTest, FolderBesideTheExecutableComesFirst) {
    testsupport::TempDir dir;
    const QString exe = QString::fromStdString(dir.file("horonpa.exe"));
    const QString installed = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    EXPECT_EQ(framework::QtTranslationsDirectory(exe), installed);
    testsupport::WriteAll(dir.file("translations"), "a file, not a folder");
    EXPECT_EQ(framework::QtTranslationsDirectory(exe), installed);
    testsupport::TempDir other;
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(other.file("translations"))));
    const QString otherExe = QString::fromStdString(other.file("horonpa.exe"));
    EXPECT_EQ(framework::QtTranslationsDirectory(otherExe),
              QString::fromStdString(other.file("translations")));
}

TEST(FontSubstitutionTest, WindowFontFallsBackToIpaThenNoto) {
    const QString face = QString::fromUtf16(framework::kWindowFontFamily);
    EXPECT_EQ(face, QString::fromUtf16(u"ＭＳ Ｐゴシック"));
    framework::RegisterFontSubstitutions();
    // Qt keeps the names in lower case; font matching ignores case.
    EXPECT_EQ(QFont::substitutes(face), (QStringList{"ipapgothic", "noto sans cjk jp"}));
    if (QFontDatabase::families().contains("IPAPGothic")) {
        QFont font(face);
        font.setPixelSize(12);
        EXPECT_EQ(QFontInfo(font).family(), "IPAPGothic");
    }
}

TEST(ShellTargetTest, AddressesStayPathsBecomeFileUrls) {
    EXPECT_EQ(framework::ShellTargetUrl("http://example.com/~numari/"),
              QUrl("http://example.com/~numari/"));
    EXPECT_EQ(framework::ShellTargetUrl("mailto:numari@example.com"),
              QUrl("mailto:numari@example.com"));
    EXPECT_EQ(framework::ShellTargetUrl("/opt/horonpa/horonpa.html"),
              QUrl("file:///opt/horonpa/horonpa.html"));
    EXPECT_EQ(framework::ShellTargetUrl("/tmp/a b#1.html"), QUrl::fromLocalFile("/tmp/a b#1.html"));
    EXPECT_EQ(framework::ShellTargetUrl("manual.html"),
              QUrl::fromLocalFile(QDir::current().absoluteFilePath("manual.html")));
}

// The Windows shell takes files by their path and everything else by its
// address; a file name with a "#" or a space is a path, not an address.
TEST(ShellTargetTest, TheShellGetsPathsOfFilesAndTextsOfAddresses) {
    EXPECT_EQ(framework::ShellExecuteTarget(QUrl::fromLocalFile("/tmp/a b#1.html")),
              QDir::toNativeSeparators("/tmp/a b#1.html"));
    EXPECT_EQ(framework::ShellExecuteTarget(QUrl("mailto:numari@example.com")),
              "mailto:numari@example.com");
    EXPECT_EQ(framework::ShellExecuteTarget(QUrl("http://example.com/~numari/")),
              "http://example.com/~numari/");
}

TEST(ShellExecuteOpenTest, HookSeesTheResolvedAddressAndGivesTheResult) {
    std::vector<QUrl> opened;
    auto previous = framework::SetShellOpenHook([&](const QUrl& url) {
        opened.push_back(url);
        return opened.size() == 1;
    });
    EXPECT_FALSE(previous);
    EXPECT_TRUE(framework::ShellExecuteOpen("/opt/horonpa/horonpa.html"));
    EXPECT_FALSE(framework::ShellExecuteOpen("mailto:numari@example.com"));
    const auto mine = framework::SetShellOpenHook(nullptr);
    EXPECT_TRUE(mine);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl("file:///opt/horonpa/horonpa.html"));
    EXPECT_EQ(opened[1], QUrl("mailto:numari@example.com"));
}

TEST(BeepTest, HookReplacesTheSystemBeep) {
    int beeps = 0;
    framework::SetBeepHook([&] { ++beeps; });
    framework::Beep();
    framework::Beep();
    framework::SetBeepHook(nullptr);
    framework::Beep();  // the system beep again: not counted
    EXPECT_EQ(beeps, 2);
}

TEST(DoEventsTest, RunsWaitingEventsWithoutWaitingForLaterOnes) {
    bool queuedRan = false;
    bool laterRan = false;
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, [&] { laterRan = true; });
    later.start(60'000);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { queuedRan = true; }, Qt::QueuedConnection);
    EXPECT_FALSE(queuedRan);
    DoEvents();
    EXPECT_TRUE(queuedRan);
    EXPECT_FALSE(laterRan);
}

}  // namespace
