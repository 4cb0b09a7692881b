#include "forms/Version.h"

#include <QPalette>

#include "forms/Unit1.h"
#include "framework/qt/WindowFont.h"

TfrmVersion* frmVersion = nullptr;

TfrmVersion::TfrmVersion() {
    setObjectName("frmVersion");
    SetBorderStyle(framework::TFormBorderStyle::bsDialog);
    SetCaption(QString::fromUtf8("バージョン情報"));
    SetClientSize(371, 353);
    framework::ApplyWindowFont(this, 12);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    Create();
}

void TfrmVersion::FormShow() { Form1->SetEnabled(false); }

void TfrmVersion::FormCloseQuery(bool& CanClose) {
    Form1->SetEnabled(true);
    CanClose = true;
}
