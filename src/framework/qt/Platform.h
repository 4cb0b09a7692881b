// What the windows need of the desktop and the process: the application
// title, the executable's path, the font substitutions, handing a file or an
// address to the desktop shell, the warning beep and processing waiting events.
//
// Linux-specific calls stay inside this file's implementation so that the
// windows themselves remain portable.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

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

// The face the windows ask for, and the installed faces that stand in for it.
inline constexpr char16_t kWindowFontFamily[] = u"ＭＳ Ｐゴシック";
// Registers the substitutes of kWindowFontFamily ("IPAPGothic", then
// "Noto Sans CJK JP"). Called once at start-up, before any window exists.
void RegisterFontSubstitutions();

// Makes Qt's own standard texts (the edit fields' context menus, ...) Japanese,
// whatever the user's locale, from Qt's Japanese translation "qtbase_ja.qm" in
// `directory` (empty: Qt's installed translations). Texts the program sets
// itself are not touched. Returns false, changing nothing, when the file is
// missing or unreadable. Called once at start-up, before any window exists.
bool InstallQtTranslation(const QString& directory = QString());

// The address handed to the desktop for `pathOrUrl`: text that starts with a
// scheme ("http:", "mailto:", "file:" ...) is an address as it stands; anything
// else is a local file path, made absolute against the current directory.
QUrl ShellTargetUrl(const QString& pathOrUrl);

// Opens a file or an address through the desktop (the shell's "open" verb).
// Returns whether the desktop accepted it; callers are free to ignore that.
bool ShellExecuteOpen(const QString& pathOrUrl);

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
