// What the windows need of the desktop and the process: the application
// title, the executable's path, the font substitutions, handing a file or an
// address to the desktop shell, the warning beep and processing waiting events.
//
// What is the same everywhere is in Platform.cpp; what the operating systems
// do differently (file-name encoding, the installed faces, the shell) is in
// Platform_posix.cpp and Platform_win32.cpp, so that the windows themselves
// remain portable.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <string>

class QWidget;

namespace framework {

// The application title: the caption of the plain message box and of the error
// box. Start-up sets it to the program's name; until then it is the Qt
// application name.
void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

// Full path of the running executable as the windows show and pass it (the
// core's ExecutablePath in FileUtils, decoded as a file name; the Qt
// application file path where that cannot be found).
QString ExeName();
// The same path as the core's functions take it (see FileNameToCore).
std::string ExePath();

// File names between the windows (QString) and the core (std::string): the
// file system's own bytes on POSIX; UTF-8 on Windows, where the core widens
// them at its edge to call the wide file functions.
QString FileNameFromCore(const std::string& name);
std::string FileNameToCore(const QString& name);

// The face the windows ask for, and the installed faces that stand in for it
// where it is missing, best first: on Linux "IPAPGothic", then "Noto Sans CJK
// JP"; on Windows, which has the face itself wherever Japanese is installed,
// the system's Japanese UI faces ("Yu Gothic UI", "Meiryo UI", "MS UI Gothic"),
// then whatever Japanese faces the system has (see JapaneseSubstitutes).
inline constexpr char16_t kWindowFontFamily[] = u"ＭＳ Ｐゴシック";
QStringList WindowFontSubstitutes();

// A face installed with the Japanese character set, as the system lists it.
struct InstalledFace {
    QString family;
    bool proportional = false;
};
// `preferred` (asked for whether installed or not), then the installed
// Japanese faces: proportional ones before fixed-pitch ones, each once, in
// the order listed, without the faces for vertical writing ("@" + family).
QStringList JapaneseSubstitutes(const QStringList& preferred,
                                const QList<InstalledFace>& japaneseFaces);
// Registers WindowFontSubstitutes() for kWindowFontFamily. Called once at
// start-up, before any window exists.
void RegisterFontSubstitutions();

// Makes Qt's own standard texts (the edit fields' context menus, ...) Japanese,
// whatever the user's locale, from Qt's Japanese translation "qtbase_ja.qm" in
// `directory` (empty: QtTranslationsDirectory()). Texts the program sets
// itself are not touched. Returns false, changing nothing, when the file is
// missing or unreadable. Called once at start-up, before any window exists.
bool InstallQtTranslation(const QString& directory = QString());
// Where Qt's translations are: the folder "translations" beside the
// executable `exeName` when there is one (a program unpacked with its own Qt,
// as on Windows), else the installed Qt's.
QString QtTranslationsDirectory(const QString& exeName = ExeName());

// The address handed to the desktop for `pathOrUrl`: text that starts with a
// scheme ("http:", "mailto:", "file:" ...) is an address as it stands; anything
// else is a local file path, made absolute against the current directory.
QUrl ShellTargetUrl(const QString& pathOrUrl);

// What the Windows shell is handed for an address: a local file as its native
// path, anything else as the address's text.
QString ShellExecuteTarget(const QUrl& url);

// Opens a file or an address through the desktop (the shell's "open" verb;
// `owner`, when given, is the window the shell may place its messages over).
// Returns whether the desktop accepted it; callers are free to ignore that.
bool ShellExecuteOpen(const QString& pathOrUrl, QWidget* owner = nullptr);
// What ShellExecuteOpen does without a hook: the platform's own opening of
// an address (the desktop's URL handler on Linux, ShellExecuteW on Windows).
bool OpenWithDesktop(const QUrl& url, QWidget* owner);

// Replaces what ShellExecuteOpen does with the resolved address (tests observe
// the calls without starting a browser). An empty hook restores the desktop.
// Returns the hook that was in place.
using ShellOpenHook = std::function<bool(const QUrl&)>;
ShellOpenHook SetShellOpenHook(ShellOpenHook hook);

// The short warning sound of a refused key.
void Beep();
// Replaces what Beep does (tests count beeps). An empty hook restores the
// system beep. Returns the hook that was in place.
using BeepHook = std::function<void()>;
BeepHook SetBeepHook(BeepHook hook);

// Processes every event that is already waiting, then returns without waiting
// for new ones.
void ProcessMessages();

}  // namespace framework
