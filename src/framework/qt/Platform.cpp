#include "framework/qt/Platform.h"

#include "framework/FileUtils.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTranslator>
#include <utility>

namespace framework {

namespace {

QString& TitleStore() {
    static QString title;
    return title;
}

ShellOpenHook& ShellHookStore() {
    static ShellOpenHook hook;
    return hook;
}

BeepHook& BeepHookStore() {
    static BeepHook hook;
    return hook;
}

}  // namespace

void SetApplicationTitle(const QString& title) { TitleStore() = title; }

QString ApplicationTitle() {
    // Deliberately not QGuiApplication::applicationDisplayName: once set, Qt
    // appends it to every window caption on some desktops.
    if (!TitleStore().isEmpty()) return TitleStore();
    return QCoreApplication::applicationName();
}

QString ExeName() {
    const std::string exe = ExecutablePath();
    if (!exe.empty()) return FileNameFromCore(exe);
    return QCoreApplication::applicationFilePath();
}

std::string ExePath() {
    const std::string exe = ExecutablePath();
    if (!exe.empty()) return exe;
    return FileNameToCore(QCoreApplication::applicationFilePath());
}

QStringList JapaneseSubstitutes(const QStringList& preferred,
                                const QList<InstalledFace>& japaneseFaces) {
    QStringList out = preferred;
    for (const bool proportional : {true, false}) {
        for (const InstalledFace& face : japaneseFaces) {
            if (face.proportional != proportional || face.family.startsWith(u'@') ||
                out.contains(face.family, Qt::CaseInsensitive))
                continue;
            out.append(face.family);
        }
    }
    return out;
}

void RegisterFontSubstitutions() {
    QFont::insertSubstitutions(QString::fromUtf16(kWindowFontFamily), WindowFontSubstitutes());
}

QString QtTranslationsDirectory(const QString& exeName) {
    const QString beside = QFileInfo(exeName).dir().filePath(QStringLiteral("translations"));
    if (QFileInfo(beside).isDir()) return beside;
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstallQtTranslation(const QString& directory) {
    const QString dir = directory.isEmpty() ? QtTranslationsDirectory() : directory;
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_ja"), dir) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

QUrl ShellTargetUrl(const QString& pathOrUrl) {
    // Two or more letters before the colon: a one-letter "scheme" would be a
    // drive letter, which is a path.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(pathOrUrl).hasMatch()) return QUrl(pathOrUrl);
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(pathOrUrl));
}

QString ShellExecuteTarget(const QUrl& url) {
    if (url.isLocalFile()) return QDir::toNativeSeparators(url.toLocalFile());
    return url.toString();
}

bool ShellExecuteOpen(const QString& pathOrUrl, QWidget* owner) {
    const QUrl url = ShellTargetUrl(pathOrUrl);
    if (ShellHookStore()) return ShellHookStore()(url);
    return OpenWithDesktop(url, owner);
}

ShellOpenHook SetShellOpenHook(ShellOpenHook hook) {
    return std::exchange(ShellHookStore(), std::move(hook));
}

void Beep() {
    if (BeepHookStore()) {
        BeepHookStore()();
        return;
    }
    QApplication::beep();
}

BeepHook SetBeepHook(BeepHook hook) { return std::exchange(BeepHookStore(), std::move(hook)); }

void ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace framework
