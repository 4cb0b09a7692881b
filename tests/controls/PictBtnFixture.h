// Shared set-up for the panel button tests: a shown, active host window with
// one button, an application palette whose button colours are all different
// (so a wrong system colour cannot pass), and a mouse that goes through the
// window system like a real one (implicit grab, double clicks, button state).
#pragma once

#include <gtest/gtest.h>
#include <QEvent>
#include <QImage>
#include <QPalette>
#include <QWidget>
#include <memory>

#include "controls/PictBtn.h"
#include "support/Mouse.h"

namespace pictbtn_test {

using testsupport::Mouse;

// A button that counts its paints.
class CountingButton : public TPictureButton {
  public:
    using TPictureButton::KeyDown;
    using TPictureButton::KeyUp;
    using TPictureButton::TPictureButton;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        TPictureButton::paintEvent(e);
    }
};

class PictBtnTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The button as drawn now.
    QImage Grab() const;
    QRgb Px(int x, int y) const { return Grab().pixel(x, y); }
    // Runs pending paints and resets the paint counter.
    void Settle();
    void Key(QEvent::Type type, int key, bool autoRepeat = false);

    static QRgb Rgb(TColor c);
    static QRgb Inverted(QRgb c) { return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c)); }

    // Colours of the tests' own: a face at rest and a face when pressed.
    static constexpr TColor kColor = 0x00A05010;    // blue-ish
    static constexpr TColor kInColor = 0x002080E0;  // orange-ish

    std::unique_ptr<QWidget> host_;
    CountingButton* button_ = nullptr;  // at (10, 10), 36 x 36
    QWidget* other_ = nullptr;          // a neighbour at (60, 10)
    Mouse mouse_;

  private:
    QPalette savedPalette_;
};

// A point over the neighbour, in the button's coordinates.
inline constexpr QPoint kOutside{60, 10};

}  // namespace pictbtn_test
