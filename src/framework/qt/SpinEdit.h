// The spin edit: an integer field with up and down buttons whose text cannot
// be typed into. The value changes only by stepping (buttons, Up/Down keys)
// or from code.
#pragma once

#include <QSpinBox>
#include <exception>
#include <functional>

namespace framework {

class TSpinEdit : public QSpinBox {
    Q_OBJECT

  public:
    // Delay before a held button starts repeating, and the repeat interval.
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;

    explicit TSpinEdit(QWidget* parent = nullptr);

    // A value set from code is clamped into MinValue..MaxValue. When it
    // changes the value, OnChange runs before SetValue returns, and an
    // exception from OnChange leaves SetValue to its caller.
    void SetValue(int value);
    int Value() const { return value(); }
    void SetMinValue(int value) { setMinimum(value); }
    int MinValue() const { return minimum(); }
    void SetMaxValue(int value) { setMaximum(value); }
    int MaxValue() const { return maximum(); }

    // Longest text the field holds (0: no limit).
    void SetMaxLength(int length);
    int MaxLength() const { return maxLength_; }

    // Runs whenever the value changes, whether the user or the program
    // changed it; never when a value equal to the current one is set. A
    // failure while the user is stepping is shown in the error box.
    std::function<void()> OnChange;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void ValueChanged();

    int maxLength_ = 0;
    bool settingFromCode_ = false;
    std::exception_ptr changeFailure_;
};

}  // namespace framework
