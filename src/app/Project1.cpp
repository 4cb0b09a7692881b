// Start-up: the application object, its title, the four windows in order,
// then the message loop until the main menu window closes.
#include <QApplication>
#include <cstdio>

#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Version.h"
#include "framework/qt/Display.h"
#include "framework/qt/MouseCapture.h"
#include "framework/qt/Platform.h"

int main(int argc, char** argv) {
    const std::string noDisplay = framework::MissingDisplayReason();
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "horonpa: cannot start: %s\n", noDisplay.c_str());
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("horonpa");
    framework::SetApplicationTitle(QString::fromUtf8("ホロンパ"));
    framework::RegisterFontSubstitutions();
    framework::InstallMouseCapture();

    framework::CreateForm(Form1);
    framework::CreateForm(Form2);
    framework::CreateForm(Form3);
    framework::CreateForm(frmVersion);
    Form1->Show();
    return QApplication::exec();
}
