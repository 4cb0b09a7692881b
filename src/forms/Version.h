// The About window, and the reader of the executable's version information
// that gives it the product name and version.
#pragma once

#include <QLabel>
#include <cstdint>
#include <string>

#include "controls/URLLink.h"
#include "framework/qt/Form.h"
#include "framework/qt/GroupBox.h"

// The standard value names of a version-information block, indexed 0..11.
extern const char* const VersionInfoKeys[12];
// The indices of the two values the About window shows.
constexpr std::uint8_t kProductNameIndex = 9;      // "ProductName"
constexpr std::uint8_t kProductVersionIndex = 10;  // "ProductVersion"

// The value named VersionInfoKeys[Index] in the running executable's version
// information (CP932), or "" when there is none. Raises framework::Exception
// "情報の取得に失敗しました" when the information has no translation table.
std::string GetVersionInfoString(std::uint8_t Index);

// The same, read from the executable at `exePath`.
std::string GetVersionInfoString(const std::string& exePath, std::uint8_t Index);

class TfrmVersion : public framework::TForm {
    Q_OBJECT

  public:
    TfrmVersion();

    QLabel* Label1;  // product name
    QLabel* Image2;  // the program icon
    QLabel* Label2;  // "Version: " + product version
    QLabel* Label4;  // the disclaimer
    QLabel* Label5;  // the maker
    framework::TGroupBox* GroupBox1;
    QLabel* Label3;  // the author
    framework::TGroupBox* GroupBox2;
    TURLLink* URLLink1;  // the author's web page
    TURLLink* URLLink2;  // the author's e-mail address

    // The texts and the icon, once. Any failure leaves the placeholders.
    void FillTexts(const std::string& exePath);

  protected:
    void FormCreate() override;
    void FormShow() override;
    void FormCloseQuery(bool& CanClose) override;

  private:
    QLabel* AddLabel(QWidget* parent, const char* name, int left, int top, int pixelHeight,
                     bool bold = false);
    TURLLink* AddLink(const char* name, int top);
    void SetLabel2(const QString& text);
};

extern TfrmVersion* frmVersion;
