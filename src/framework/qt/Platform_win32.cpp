#include "framework/qt/Platform.h"

#include <windows.h>
// after windows.h, which it builds on
#include <shellapi.h>

#include <QWidget>

namespace framework {

namespace {

int CALLBACK AddFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM list) {
    reinterpret_cast<QList<InstalledFace>*>(list)->append(
        {QString::fromWCharArray(font->lfFaceName),
         (font->lfPitchAndFamily & 3) == VARIABLE_PITCH});
    return 1;
}

// The faces the system has for the Japanese character set.
QList<InstalledFace> JapaneseFaces() {
    QList<InstalledFace> faces;
    HDC screen = GetDC(nullptr);
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    EnumFontFamiliesExW(screen, &wanted, AddFace, reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(nullptr, screen);
    return faces;
}

}  // namespace

QString FileNameFromCore(const std::string& name) { return QString::fromStdString(name); }

std::string FileNameToCore(const QString& name) { return name.toStdString(); }

QStringList WindowFontSubstitutes() {
    return JapaneseSubstitutes({QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                                QStringLiteral("MS UI Gothic")},
                               JapaneseFaces());
}

bool OpenWithDesktop(const QUrl& url, QWidget* owner) {
    const QString target = ShellExecuteTarget(url);
    HWND window = owner != nullptr ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
    // Values above 32 mean the shell took it; below are its error codes.
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        window, L"open", reinterpret_cast<const wchar_t*>(target.utf16()), L"", L"", SW_SHOW));
    return result > 32;
}

}  // namespace framework
