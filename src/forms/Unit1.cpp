#include "forms/Unit1.h"

#include "app/Locations.h"
#include "app/uGrobal.h"
#include "forms/Preanalysis.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Version.h"
#include "framework/qt/Dialogs.h"
#include "framework/qt/HandlerGuard.h"
#include "framework/qt/Platform.h"
#include "framework/qt/WindowFont.h"
#include "util/VB2.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() {
    setObjectName("Form1");
    SetCaption(QString::fromUtf8("ホロンパ"));
    SetClientSize(341, 167);
    framework::ApplyWindowFont(this, 12);
    // Created in tab order. Top row: the four presets; below them the two
    // selectors on the left and Let's Go!! on the right; the bottom two rows:
    // ranking, About, manual and exit.
    Button2 = AddButton("Button2", "初級者", 24, 0, 73, 25, &TForm1::Button2Click);
    Button3 = AddButton("Button3", "中級者", 96, 0, 73, 25, &TForm1::Button3Click);
    Button4 = AddButton("Button4", "上級者", 168, 0, 73, 25, &TForm1::Button4Click);
    Button5 = AddButton("Button5", "神", 240, 0, 73, 25, &TForm1::Button5Click);
    SpinEdit1 = AddSpinEdit("SpinEdit1", 88, 48, 3, 20);
    SpinEdit2 = AddSpinEdit("SpinEdit2", 88, 72, 2, 20);
    Button1 = AddButton("Button1", "Let's Go!!", 168, 70, 137, 25, &TForm1::Button1Click);
    Button6 = AddButton("Button6", "スコアランキング", 56, 112, 113, 25, &TForm1::Button6Click);
    Button7 = AddButton("Button7", "バージョン情報", 168, 112, 113, 25, &TForm1::Button7Click);
    Button8 = AddButton("Button8", "終了", 168, 136, 113, 25, &TForm1::Button8Click);
    Button9 = AddButton("Button9", "遊びかた【説明書】", 56, 136, 113, 25, &TForm1::Button9Click);
    QWidget* order[] = {Button2, Button3, Button4, Button5, SpinEdit1, SpinEdit2,
                        Button1, Button6, Button7, Button8, Button9};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    Label2 = AddLabel("Label2", "行・列数", 40, 52, 42, 12);
    Label3 = AddLabel("Label3", "", 152, 52, 4, 12);
    Label1 = AddLabel("Label1", "色数", 56, 76, 24, 12);
    SpinEdit1->OnChange = [this] { SpinEdit1Change(); };
    Preanalysis = new TPreanalysis(SpinEdit1, SpinEdit2, this);
    Create();
}

QPushButton* TForm1::AddButton(const char* name, const char* caption, int left, int top, int width,
                               int height, void (TForm1::*handler)()) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setObjectName(name);
    b->setGeometry(left, top, width, height);
    b->setAutoDefault(false);
    b->setDefault(false);
    connect(b, &QPushButton::clicked, this,
            framework::Guarded([this, handler] { (this->*handler)(); }));
    return b;
}

QLabel* TForm1::AddLabel(const char* name, const char* caption, int left, int top, int width,
                         int height) {
    auto* l = new QLabel(QString::fromUtf8(caption), this);
    l->setObjectName(name);
    l->setGeometry(left, top, width, height);
    return l;
}

framework::TSpinEdit* TForm1::AddSpinEdit(const char* name, int left, int top, int min, int max) {
    auto* s = new framework::TSpinEdit(this);
    s->setObjectName(name);
    s->setGeometry(left, top, 57, 21);
    s->SetMinValue(min);
    s->SetMaxValue(max);
    s->SetValue(3);
    s->SetMaxLength(2);
    return s;
}

void TForm1::FormShow() { SpinEdit1Change(); }

void TForm1::SpinEdit1Change() {
    const int n = SpinEdit1->Value();
    Label3->setText(QString::fromUtf8("パネル数は%1枚になります").arg(n * n));
    Label3->adjustSize();
}

void TForm1::SetPreset(int size, int colors) {
    SpinEdit1->SetValue(size);
    SpinEdit2->SetValue(colors);
}

void TForm1::Button2Click() { SetPreset(3, 3); }
void TForm1::Button3Click() { SetPreset(5, 7); }
void TForm1::Button4Click() { SetPreset(10, 12); }
void TForm1::Button5Click() { SetPreset(20, 20); }

void TForm1::Button1Click() {
    if (framework::MessageDlgConfirm(QString::fromUtf8("準備はいいですか？"), this) !=
        framework::mrYes) {
        return;
    }
    Form2->SetEnabled(true);  // a won game leaves it disabled
    Form2->Timer1->SetEnabled(false);
    ElapsedSeconds = 0;
    ClickCount = 0;
    BoardSize = SpinEdit1->Value();
    ColorCount = SpinEdit2->Value();
    Form2->Show();
    SetVisible(false);
    Form2->Timer1->SetEnabled(true);
}

void TForm1::Button6Click() {
    ElapsedSeconds = -1;
    ClickCount = -1;
    // Kept above the menu, which it disables, until it closes.
    Form3->ShowAbove(this);
    SetEnabled(false);
}

void TForm1::Button7Click() { frmVersion->Show(); }

void TForm1::Button8Click() { Close(); }

void TForm1::Button9Click() {
    // A missing manual or a failing desktop is nobody's business but ours.
    try {
        framework::ShellExecuteOpen(framework::FileNameFromCore(ManualPath(framework::ExePath())),
                                    this);
        DoEvents();
    } catch (...) {
    }
}
