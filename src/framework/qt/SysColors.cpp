#include "framework/qt/SysColors.h"

#include <QApplication>
#include <QPalette>
#include <optional>

namespace framework {
namespace {

// Palette role of a system colour index (the low byte of a system TColor).
std::optional<QPalette::ColorRole> SystemRole(std::uint32_t index) {
    switch (index) {
        case 0x05:
            return QPalette::Base;  // window background
        case 0x08:
            return QPalette::WindowText;  // window text
        case 0x0D:
            return QPalette::Highlight;  // selection
        case 0x0E:
            return QPalette::HighlightedText;  // selected text
        case 0x0F:
            return QPalette::Button;  // clBtnFace
        case 0x10:
            return QPalette::Dark;  // clBtnShadow
        case 0x12:
            return QPalette::ButtonText;  // button text
        case 0x14:
            return QPalette::Light;  // clBtnHighlight
        case 0x15:
            return QPalette::Shadow;  // cl3DDkShadow
        case 0x16:
            return QPalette::Midlight;  // cl3DLight
        case 0x17:
            return QPalette::ToolTipText;  // hint text
        case 0x18:
            return QPalette::ToolTipBase;  // clInfoBk
        default:
            return std::nullopt;
    }
}

}  // namespace

QColor ColorToQColor(TColor color) {
    if (IsSystemColor(color)) {
        const auto role = SystemRole(color & 0x00FFFFFFu);
        if (!role) return QColor(0, 0, 0);
        // Always the active group: nothing drawn with these depends on whether a
        // control is enabled.
        return QApplication::palette().color(QPalette::Active, *role);
    }
    return QColor(ColorRed(color), ColorGreen(color), ColorBlue(color));
}

}  // namespace framework
