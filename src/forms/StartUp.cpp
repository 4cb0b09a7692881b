#include "forms/StartUp.h"

#include <QApplication>
#include <QIcon>

#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Version.h"
#include "framework/qt/MouseCapture.h"
#include "framework/qt/Platform.h"

void CreateApplicationWindows() {
    framework::SetApplicationTitle(QString::fromUtf8("ホロンパ"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/horonpa.png")));
    framework::RegisterFontSubstitutions();
    framework::InstallQtTranslation();  // without it, Qt's own texts stay English
    framework::InstallMouseCapture();
    framework::CreateForm(Form1);
    framework::CreateForm(Form2);
    framework::CreateForm(Form3);
    framework::CreateForm(frmVersion);
}
