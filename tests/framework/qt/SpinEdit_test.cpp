#include "framework/qt/SpinEdit.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <stdexcept>

#include "framework/qt/Platform.h"
#include "support/GuiHelpers.h"
#include "support/QtPrinters.h"

namespace {

using testsupport::DialogText;
using testsupport::FindButton;
using testsupport::ModalHandler;

// A spin edit as the windows set it up: 3..20, starting at 3, two characters,
// shown in a window of its own; counts OnChange calls and beeps.
class SpinEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        framework::SetBeepHook([this] { ++beeps; });
        spin.SetMinValue(3);
        spin.SetMaxValue(20);
        spin.SetValue(3);
        spin.SetMaxLength(2);
        spin.OnChange = [this] {
            ++changes;
            seen.push_back(spin.Value());
        };
        spin.resize(57, 21);
        spin.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&spin));
        spin.setFocus();
    }
    void TearDown() override { framework::SetBeepHook(nullptr); }

    QLineEdit* Edit() const { return spin.findChild<QLineEdit*>(); }

    QRect ButtonRect(QStyle::SubControl button) const {
        QStyleOptionSpinBox opt;
        opt.initFrom(&spin);
        opt.subControls = QStyle::SC_All;
        opt.buttonSymbols = spin.buttonSymbols();
        opt.frame = spin.hasFrame();
        opt.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        return spin.style()->subControlRect(QStyle::CC_SpinBox, &opt, button, &spin);
    }

    framework::TSpinEdit spin;
    int changes = 0;
    std::vector<int> seen;
    int beeps = 0;
};

TEST_F(SpinEditTest, ValuesFromCodeAreClampedAndChangeOnlyWhenDifferent) {
    EXPECT_EQ(spin.MinValue(), 3);
    EXPECT_EQ(spin.MaxValue(), 20);
    spin.SetValue(10);
    spin.SetValue(10);  // same value: no change
    spin.SetValue(25);  // clamped to 20
    spin.SetValue(20);  // already 20
    spin.SetValue(-4);  // clamped to 3
    EXPECT_EQ(spin.Value(), 3);
    EXPECT_EQ(seen, (std::vector<int>{10, 20, 3}));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(spin.text(), "3");
}

TEST_F(SpinEditTest, FailureInOnChangeFromCodeReachesTheCaller) {
    spin.OnChange = [] { throw std::runtime_error("load failed"); };
    EXPECT_THROW(spin.SetValue(8), std::runtime_error);
    EXPECT_EQ(spin.Value(), 8);  // the value has changed all the same
    EXPECT_NO_THROW(spin.SetValue(8));
}

TEST_F(SpinEditTest, UpAndDownKeysStepByOneWithinTheRange) {
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.Value(), 5);
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.Value(), 4);
    // No step of ten with Ctrl, nor with Page Up/Down.
    QTest::keyClick(&spin, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(spin.Value(), 5);
    QTest::keyClick(&spin, Qt::Key_PageUp);
    QTest::keyClick(&spin, Qt::Key_PageDown);
    EXPECT_EQ(spin.Value(), 5);
    EXPECT_EQ(seen, (std::vector<int>{4, 5, 4, 5}));

    // At the ends the keys change nothing and notify nothing.
    spin.SetValue(3);
    changes = 0;
    QTest::keyClick(&spin, Qt::Key_Down);
    EXPECT_EQ(spin.Value(), 3);
    spin.SetValue(20);
    changes = 0;
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.Value(), 20);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(beeps, 0);
}

TEST_F(SpinEditTest, ArrowButtonsStepByOne) {
    const QRect up = ButtonRect(QStyle::SC_SpinBoxUp);
    const QRect down = ButtonRect(QStyle::SC_SpinBoxDown);
    ASSERT_FALSE(up.isEmpty());
    ASSERT_FALSE(down.isEmpty());
    QTest::mouseClick(&spin, Qt::LeftButton, {}, up.center());
    QTest::mouseClick(&spin, Qt::LeftButton, {}, up.center());
    QTest::mouseClick(&spin, Qt::LeftButton, {}, down.center());
    EXPECT_EQ(seen, (std::vector<int>{4, 5, 4}));
    // Ctrl does not make a step worth ten.
    QTest::mouseClick(&spin, Qt::LeftButton, Qt::ControlModifier, up.center());
    EXPECT_EQ(spin.Value(), 5);
}

TEST_F(SpinEditTest, HeldButtonRepeatsAfter400MsThenEvery100Ms) {
    EXPECT_EQ(spin.style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, &spin),
              400);
    EXPECT_EQ(spin.style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, &spin), 100);
    // The window's own style is untouched.
    EXPECT_NE(QApplication::style(), spin.style());

    // Holding the up button steps once, then repeats on its own.
    QElapsedTimer clock;
    clock.start();
    QTest::mousePress(&spin, Qt::LeftButton, {}, ButtonRect(QStyle::SC_SpinBoxUp).center());
    EXPECT_EQ(spin.Value(), 4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return spin.Value() >= 6; }, 5000));
    const qint64 elapsed = clock.elapsed();
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, ButtonRect(QStyle::SC_SpinBoxUp).center());
    // The first repeat waits for the delay (coarse timers may fire 5% early).
    EXPECT_GE(elapsed, 380);
}

TEST_F(SpinEditTest, WheelDoesNotStep) {
    QWheelEvent wheel(QPointF(10, 10), spin.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&spin, &wheel);
    EXPECT_EQ(spin.Value(), 3);
}

TEST_F(SpinEditTest, TypingPasteAndCutAreRefusedWithABeep) {
    spin.SetValue(12);
    changes = 0;
    QTest::keyClick(&spin, Qt::Key_5);
    QTest::keyClicks(&spin, "a-");
    QTest::keyClick(&spin, Qt::Key_Backspace);
    QTest::keyClick(&spin, Qt::Key_Delete);
    EXPECT_EQ(beeps, 5);

    QApplication::clipboard()->setText("7");
    Edit()->selectAll();
    QTest::keyClick(&spin, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&spin, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(&spin, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(beeps, 8);
    EXPECT_EQ(spin.text(), "12");
    EXPECT_EQ(spin.Value(), 12);
    EXPECT_EQ(changes, 0);
    // Nothing was cut to the clipboard either.
    EXPECT_EQ(QApplication::clipboard()->text(), "7");

    // The inner edit alone is read-only: the spin box still steps.
    EXPECT_TRUE(Edit()->isReadOnly());
    EXPECT_FALSE(spin.isReadOnly());
    // Nor does a middle-button paste of the selection, where there is one.
    if (QApplication::clipboard()->supportsSelection()) {
        QApplication::clipboard()->setText("9", QClipboard::Selection);
        QTest::mouseClick(Edit(), Qt::MiddleButton);
        EXPECT_EQ(spin.text(), "12");
    }
}

TEST_F(SpinEditTest, FailureInOnChangeFromTheUserIsShownInTheErrorBox) {
    spin.OnChange = [] { throw std::runtime_error("cannot read"); };
    QString boxText;
    ModalHandler answer([&](QWidget* box) {
        boxText = DialogText(box);
        FindButton(box, "OK")->click();
    });
    QTest::keyClick(&spin, Qt::Key_Up);
    ASSERT_TRUE(answer.fired());
    EXPECT_EQ(boxText, "cannot read.");
    EXPECT_EQ(spin.Value(), 4);  // the selector keeps its new value
}

TEST_F(SpinEditTest, MaxLengthLimitsTheField) {
    EXPECT_EQ(spin.MaxLength(), 2);
    EXPECT_EQ(Edit()->maxLength(), 2);
    spin.SetValue(20);
    EXPECT_EQ(spin.text(), "20");
    spin.SetMaxLength(0);
    EXPECT_EQ(spin.MaxLength(), 0);
    EXPECT_GT(Edit()->maxLength(), 2);
}

}  // namespace
