#include "framework/qt/Dialogs.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "framework/Codepage.h"
#include "framework/qt/Platform.h"

namespace framework {

namespace {

// A message box that tells the close box apart from its cancel button: Qt
// treats both as a click on the escape button.
class TMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;
    bool ClosedByCloseBox() const { return closedByCloseBox_; }

  protected:
    void closeEvent(QCloseEvent* e) override {
        closedByCloseBox_ = true;
        QMessageBox::closeEvent(e);
    }

  private:
    bool closedByCloseBox_ = false;
};

// One "OK" button that is both the default and the escape button.
void RunOkBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    TMessageBox box;
    box.setIcon(icon);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

// Keeps the edit within the byte limit: an insertion that would pass it is
// cut from its end.
class Cp932LimitValidator : public QValidator {
  public:
    Cp932LimitValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}

    State validate(QString& input, int& pos) const override {
        if (Cp932Length(input) > maxBytes_) input = FitCp932Limit(input, pos, maxBytes_);
        return Acceptable;
    }

  private:
    int maxBytes_;
};

}  // namespace

void ShowMessage(const QString& text) { RunOkBox(QMessageBox::NoIcon, ApplicationTitle(), text); }

void ShowErrorBox(const QString& text) {
    RunOkBox(QMessageBox::Critical, ApplicationTitle(), text);
}

int MessageDlgConfirm(const QString& text) {
    TMessageBox box;
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QString::fromUtf16(kConfirmCaption));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QString::fromUtf16(u"はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf16(u"いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    if (box.ClosedByCloseBox()) return mrCancel;
    return box.clickedButton() == yes ? mrYes : mrNo;
}

int Cp932Length(const QString& text) {
    return static_cast<int>(Utf16ToCp932(text.toStdU16String()).size());
}

QString FitCp932Limit(const QString& text, int& cursor, int maxBytes) {
    QString result = text;
    int end = qBound(0, cursor, static_cast<int>(result.size()));
    while (end > 0 && Cp932Length(result) > maxBytes) {
        // Remove one whole character (both halves of a surrogate pair).
        int len = 1;
        if (end >= 2 && result.at(end - 1).isLowSurrogate() && result.at(end - 2).isHighSurrogate())
            len = 2;
        result.remove(end - len, len);
        end -= len;
    }
    // Text after the cursor that alone passes the limit (never from typing).
    while (Cp932Length(result) > maxBytes) result.chop(1);
    cursor = qMin(end, static_cast<int>(result.size()));
    return result;
}

QString InputBox(const QString& title, const QString& prompt, const QString& defaultText) {
    QDialog dialog;
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* label = new QLabel(prompt, &dialog);
    label->setTextFormat(Qt::PlainText);
    auto* edit = new QLineEdit(&dialog);
    edit->setValidator(new Cp932LimitValidator(kInputBoxMaxBytes, edit));
    // A start text past the limit is cut like typed text.
    edit->setText(defaultText);
    edit->selectAll();

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf16(u"キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(300);
    edit->setFocus();

    if (dialog.exec() != QDialog::Accepted) return QString();
    return edit->text();
}

}  // namespace framework
