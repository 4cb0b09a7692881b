#include "forms/Version.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "forms/Unit1.h"
#include "framework/Codepage.h"
#include "framework/SysUtils.h"
#include "framework/VersionResource.h"
#include "framework/qt/Platform.h"
#include "framework/qt/WindowFont.h"

#ifndef HORONPA_AUTHOR_URL
#define HORONPA_AUTHOR_URL "https://www.example.com/numari/"
#endif
#ifndef HORONPA_AUTHOR_MAIL
#define HORONPA_AUTHOR_MAIL "numari@example.com"
#endif

TfrmVersion* frmVersion = nullptr;

const char* const VersionInfoKeys[12] = {
    "Comments",     "CompanyName",    "FileDescription", "FileVersion",
    "InternalName", "LegalCopyright", "LegalTrademarks", "OriginalFilename",
    "PrivateBuild", "ProductName",    "ProductVersion",  "SpecialBuild",
};

std::string GetVersionInfoString(const std::string& exePath, std::uint8_t Index) {
    std::uint32_t handle = 0;
    const std::uint32_t size = framework::GetFileVersionInfoSizeA(exePath, &handle);
    if (size == 0) return {};
    std::vector<std::uint8_t> buffer(size);  // freed on every way out
    framework::GetFileVersionInfoA(exePath, 0, size, buffer.data());
    const void* value = nullptr;
    std::uint32_t len = 0;
    if (!framework::VerQueryValueA(buffer.data(), "\\VarFileInfo\\Translation", &value, &len) ||
        len == 0) {
        throw framework::Exception(framework::Cp932("情報の取得に失敗しました"));
    }
    std::uint32_t translation = 0;
    std::memcpy(&translation, value, std::min<std::uint32_t>(len, 4));
    char block[64];
    std::snprintf(block, sizeof(block), "\\StringFileInfo\\%04X%04X\\", translation & 0xFFFF,
                  translation >> 16);
    std::string result;
    if (framework::VerQueryValueA(buffer.data(), block + std::string(VersionInfoKeys[Index]),
                                  &value, &len) &&
        len > 0) {
        const char* text = static_cast<const char*>(value);
        result.assign(text, strnlen(text, len));
    }
    return result;
}

std::string GetVersionInfoString(std::uint8_t Index) {
    return GetVersionInfoString(framework::ExePath(), Index);
}

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

    // Header: icon, product name and version; middle: the two group boxes
    // (author, links); bottom: the disclaimer and the maker.
    Label1 = AddLabel(this, "Label1", 66, 24, 27);
    Image2 = new QLabel(this);
    Image2->setObjectName("Image2");
    Image2->setGeometry(16, 16, 32, 32);
    Label2 = AddLabel(this, "Label2", 264, 56, 16);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label2->resize(44, 16);  // as laid out: its right edge is at x = 308
    SetLabel2(QStringLiteral("Label2"));
    Label4 = AddLabel(this, "Label4", 77, 264, 12);
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->resize(268, 81);
    Label5 = AddLabel(this, "Label5", 200, 336, 15, true);
    Label5->setText(QStringLiteral("Brevantis"));
    Label5->adjustSize();

    GroupBox1 = new framework::TGroupBox(QString::fromUtf8("作者名"), this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(77, 88, 217, 57);
    Label3 = AddLabel(GroupBox1, "Label3", 20, 24, 12);
    Label3->setText(QString::fromUtf8("ヌマリ"));
    Label3->adjustSize();
    GroupBox2 = new framework::TGroupBox(QString::fromUtf8("最新版・サポート情報"), this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(77, 160, 217, 81);
    URLLink1 = AddLink("URLLink1", 24);
    URLLink1->setLink(QStringLiteral(HORONPA_AUTHOR_URL));
    URLLink2 = AddLink("URLLink2", 56);
    URLLink2->setURLType(tpMAIL);
    URLLink2->setLink(QStringLiteral(HORONPA_AUTHOR_MAIL));
    URLLink2->setCaption(QStringLiteral(HORONPA_AUTHOR_MAIL));
    setTabOrder(GroupBox1, GroupBox2);
    Create();
}

QLabel* TfrmVersion::AddLabel(QWidget* parent, const char* name, int left, int top, int pixelHeight,
                              bool bold) {
    auto* l = new QLabel(QString::fromLatin1(name), parent);
    l->setObjectName(name);
    l->move(left, top);
    framework::ApplyWindowFont(l, pixelHeight, bold);
    l->adjustSize();
    return l;
}

TURLLink* TfrmVersion::AddLink(const char* name, int top) {
    auto* link = new TURLLink(GroupBox2);
    link->setObjectName(name);
    link->move(8, top);
    link->setFont(framework::WindowFont(12));
    link->setLinkColor(clRed);
    link->setEnableShowHint(false);
    link->setTransparent(true);
    link->HintFormFont()->Font = framework::WindowFont(12);
    link->setCaption(QString::fromLatin1(name));
    return link;
}

void TfrmVersion::SetLabel2(const QString& text) {
    // Right-aligned and sized to its text: the right edge stays at x = 308.
    const int right = Label2->x() + Label2->width();
    Label2->setText(text);
    Label2->adjustSize();
    Label2->move(right - Label2->width(), Label2->y());
}

void TfrmVersion::FormCreate() { FillTexts(framework::ExePath()); }

void TfrmVersion::FillTexts(const std::string& exePath) {
    // A failure here is never shown: the window keeps whatever it had so far.
    try {
        const auto text = [](const std::string& cp932) {
            return QString::fromStdString(framework::Cp932ToUtf8(cp932));
        };
        Label1->setText(text(GetVersionInfoString(exePath, kProductNameIndex)));
        Label1->adjustSize();
        SetLabel2(QStringLiteral("Version: ") +
                  text(GetVersionInfoString(exePath, kProductVersionIndex)));
        Label4->setText(
            QString::fromUtf8("このソフトウェアの使用に関して、直接的または\r\n"
                              "間接的に生じる一切の損害当について、\r\n"
                              "作者は如何なる責任も負いません。\r\n"
                              "このことは、このソフトウェアの使用をもって\r\n"
                              "同意されたものと見なします。"));
        URLLink1->setCaption(QString::fromUtf8("『ヌマリの空間』") + "\r\n" + URLLink1->Link());
        Image2->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    } catch (...) {
    }
}

void TfrmVersion::FormShow() { Form1->SetEnabled(false); }

void TfrmVersion::FormCloseQuery(bool& CanClose) {
    Form1->SetEnabled(true);
    CanClose = true;
}
