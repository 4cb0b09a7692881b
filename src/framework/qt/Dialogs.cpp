#include "framework/qt/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QValidator>
#include <QWindow>

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

// Centres a box on its screen as it is shown, frame included, instead of
// over the window it belongs to.
class CentreOnScreen : public QObject {
  public:
    explicit CentreOnScreen(QWidget* box) : QObject(box) { box->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || box == nullptr || box->screen() == nullptr)
            return false;
        const QMargins frame = box->windowHandle()->frameMargins();
        const QSize outer = box->size().grownBy(frame);
        const QRect area = box->screen()->geometry();
        box->move(area.left() + (area.width() - outer.width()) / 2,
                  area.top() + (area.height() - outer.height()) / 2);
        return false;
    }
};

// Makes `box` the transient child of its owner's window, centred on the
// screen all the same.
void AttachToOwner(QWidget& box, QWidget* owner) {
    QWidget* window = BoxOwner(owner);
    if (window == nullptr || window == &box) return;
    box.winId();
    if (QWindow* handle = box.windowHandle()) handle->setTransientParent(window->windowHandle());
    new CentreOnScreen(&box);
}

// The frame the desktop puts around the window a box belongs to, which the
// box will get too.
QMargins OwnerFrame(QWidget* owner) {
    const QWidget* window = BoxOwner(owner);
    const QWindow* handle = window != nullptr ? window->windowHandle() : nullptr;
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

void PrepareBox(QMessageBox& box, QWidget* owner) {
    FitCaption(box, OwnerFrame(owner));
    AttachToOwner(box, owner);
}

// One "OK" button that is both the default and the escape button.
void RunOkBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* owner) {
    TMessageBox box;
    box.setIcon(icon);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    PrepareBox(box, owner);
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

QWidget* BoxOwner(QWidget* owner) {
    if (owner != nullptr && owner->window()->isVisible()) return owner->window();
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

int CaptionWidth(const QString& caption, const QMargins& frame) {
    // A frame without a title bar is as thick at the top as at the bottom.
    const int bar = frame.top() - frame.bottom();
    if (bar <= 0) return 0;
    // Title fonts are often bold and a little larger than the window's.
    QFont font = QApplication::font();
    font.setBold(true);
    const int text = QFontMetrics(font).horizontalAdvance(caption) * 5 / 4;
    constexpr int kBarWidths = 5;  // the icon, three buttons and the margin
    return text + kBarWidths * bar;
}

void FitCaption(QMessageBox& box, const QMargins& frame) {
    // A message box lays itself out whenever it is shown, from its layout's
    // minimum width: a spacer as wide as the caption needs holds it.
    const int width = CaptionWidth(box.windowTitle(), frame);
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (width <= 0 || grid == nullptr) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

void ShowMessage(const QString& text, QWidget* owner) {
    RunOkBox(QMessageBox::NoIcon, ApplicationTitle(), text, owner);
}

void ShowErrorBox(const QString& text, QWidget* owner) {
    RunOkBox(QMessageBox::Critical, ApplicationTitle(), text, owner);
}

int MessageDlgConfirm(const QString& text, QWidget* owner) {
    TMessageBox box;
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QString::fromUtf16(kConfirmCaption));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QString::fromUtf16(u"はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf16(u"いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    PrepareBox(box, owner);
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

QString InputBox(const QString& title, const QString& prompt, const QString& defaultText,
                 QWidget* owner) {
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
    dialog.setMinimumWidth(qMax(300, CaptionWidth(title, OwnerFrame(owner))));
    AttachToOwner(dialog, owner);
    edit->setFocus();

    if (dialog.exec() != QDialog::Accepted) return QString();
    return edit->text();
}

}  // namespace framework
