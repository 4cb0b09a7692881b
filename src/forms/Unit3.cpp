#include "forms/Unit3.h"

#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "framework/qt/WindowFont.h"

TForm3* Form3 = nullptr;

TForm3::TForm3() {
    setObjectName("Form3");
    SetCaption(QString::fromUtf8("ホロンパ　スコアランキング"));
    SetClientSize(682, 421);
    framework::ApplyWindowFont(this, 12);
    Create();
}

void TForm3::FormCloseQuery(bool& CanClose) {
    // Closing the ranking ends the game it was opened for; a failure there
    // must not keep the ranking open.
    try {
        Form2->Close();
    } catch (...) {
    }
    Form1->SetEnabled(true);
    CanClose = true;
}
