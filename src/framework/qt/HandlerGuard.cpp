#include "framework/qt/HandlerGuard.h"

#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "framework/qt/Dialogs.h"

namespace framework {

QString ExceptionMessage(const std::exception& e) {
    if (const auto* own = dynamic_cast<const Exception*>(&e))
        return QString::fromStdString(Cp932ToUtf8(own->Message()));
    return QString::fromUtf8(e.what());
}

QString ErrorBoxText(const QString& message) {
    // Any character beyond ASCII sorts after "."; so does the lead byte of a
    // double-byte CP932 character, so comparing the last UTF-16 unit gives the
    // same answer as comparing the last CP932 character.
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + u'.';
    return message;
}

void ShowCurrentException() noexcept {
    try {
        QString text;
        try {
            throw;
        } catch (const std::exception& e) {
            text = ExceptionMessage(e);
        } catch (...) {
            text = QString::fromUtf16(u"不明な例外が発生しました");
        }
        ShowErrorBox(ErrorBoxText(text));
    } catch (...) {
        // Nothing sensible is left to do when the error box itself fails.
    }
}

}  // namespace framework
