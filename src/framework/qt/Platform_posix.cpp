#include "framework/qt/Platform.h"

#include <QDesktopServices>
#include <QFile>

namespace framework {

QString FileNameFromCore(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::string FileNameToCore(const QString& name) { return QFile::encodeName(name).toStdString(); }

QStringList WindowFontSubstitutes() {
    return {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
}

bool OpenWithDesktop(const QUrl& url, QWidget*) { return QDesktopServices::openUrl(url); }

}  // namespace framework
