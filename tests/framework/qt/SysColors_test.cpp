// System colours come from the application palette at the time they are
// resolved; every other TColor is 0x00BBGGRR.
#include <gtest/gtest.h>
#include <QApplication>
#include <QPalette>

#include "support/QtPrinters.h"

#include "framework/qt/SysColors.h"

namespace {

using framework::ColorToQColor;

class SysColorsTest : public testing::Test {
  protected:
    void SetUp() override { saved_ = QApplication::palette(); }
    void TearDown() override { QApplication::setPalette(saved_); }
    QPalette saved_;
};

TEST_F(SysColorsTest, PlainColoursAreRedInTheLowByte) {
    EXPECT_EQ(ColorToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(ColorToQColor(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(ColorToQColor(0x00FFFFFF), QColor(255, 255, 255));
}

TEST_F(SysColorsTest, SystemColoursFollowTheApplicationPalette) {
    const struct {
        TColor color;
        QPalette::ColorRole role;
    } cases[] = {
        {clBtnFace, QPalette::Button},     {clBtnShadow, QPalette::Dark},
        {clBtnHighlight, QPalette::Light}, {cl3DDkShadow, QPalette::Shadow},
        {cl3DLight, QPalette::Midlight},   {clInfoBk, QPalette::ToolTipBase},
    };
    QPalette p = saved_;
    int n = 0;
    for (const auto& c : cases) {
        p.setColor(c.role, QColor(10 + n, 20 + 3 * n, 200));
        ++n;
    }
    QApplication::setPalette(p);
    n = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(ColorToQColor(c.color), QColor(10 + n, 20 + 3 * n, 200)) << std::hex << c.color;
        ++n;
    }

    // A later theme change is seen at once.
    p.setColor(QPalette::Button, QColor(1, 2, 3));
    QApplication::setPalette(p);
    EXPECT_EQ(ColorToQColor(clBtnFace), QColor(1, 2, 3));
}

TEST_F(SysColorsTest, SystemColoursIgnoreTheDisabledGroup) {
    QPalette p = saved_;
    p.setColor(QPalette::Active, QPalette::Dark, QColor(1, 1, 1));
    p.setColor(QPalette::Disabled, QPalette::Dark, QColor(2, 2, 2));
    p.setColor(QPalette::Inactive, QPalette::Dark, QColor(3, 3, 3));
    QApplication::setPalette(p);
    EXPECT_EQ(ColorToQColor(clBtnShadow), QColor(1, 1, 1));
}

TEST_F(SysColorsTest, UnknownSystemColourIsBlack) {
    EXPECT_EQ(ColorToQColor(0x800000FE), QColor(0, 0, 0));
}

}  // namespace
