#include "framework/qt/Platform.h"

#include <shellapi.h>
#include <windows.h>

#include <QWidget>

namespace framework {

QString FileNameFromCore(const std::string& name) { return QString::fromStdString(name); }

std::string FileNameToCore(const QString& name) { return name.toStdString(); }

QStringList WindowFontSubstitutes() {
    return {QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
            QStringLiteral("MS UI Gothic")};
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
