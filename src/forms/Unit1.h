// The main menu window: presets, the size and colour selectors, and the
// buttons that start a game and open the other windows.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "framework/qt/Form.h"
#include "framework/qt/SpinEdit.h"

class TPreanalysis;

class TForm1 : public framework::TForm {
    Q_OBJECT

  public:
    TForm1();

    QPushButton* Button2;  // 初級者
    QPushButton* Button3;  // 中級者
    QPushButton* Button4;  // 上級者
    QPushButton* Button5;  // 神
    QLabel* Label2;
    framework::TSpinEdit* SpinEdit1;  // board size
    QLabel* Label3;
    QLabel* Label1;
    framework::TSpinEdit* SpinEdit2;  // colours
    QPushButton* Button1;             // Let's Go!!
    QPushButton* Button6;             // スコアランキング
    QPushButton* Button7;             // バージョン情報
    QPushButton* Button8;             // 終了
    QPushButton* Button9;             // 遊びかた【説明書】
    // Analyses the pair the selectors show while the player is on the menu.
    TPreanalysis* Preanalysis;

    void SpinEdit1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();

  protected:
    void FormShow() override;

  private:
    QPushButton* AddButton(const char* name, const char* caption, int left, int top, int width,
                           int height, void (TForm1::*handler)());
    QLabel* AddLabel(const char* name, const char* caption, int left, int top, int width,
                     int height);
    framework::TSpinEdit* AddSpinEdit(const char* name, int left, int top, int min, int max);
    void SetPreset(int size, int colors);
};

extern TForm1* Form1;
