// The framework's standard modal boxes, with their Japanese texts. Each box is
// application-modal, centred on the screen, and returns when it is answered.
//
// A box belongs to a window: `owner`'s window when it is shown, else the box
// or the window in front. It is that window's transient child, so a window
// manager keeps it above that window and a Wayland compositor, which places
// every window itself, can place it over that window. Its frame is at least
// as wide as its caption and the title bar's buttons need under the frame the
// desktop puts around that window.
#pragma once

#include <QMargins>
#include <QString>

class QMessageBox;
class QWidget;

namespace framework {

// Results of MessageDlgConfirm, as the platform numbers them.
inline constexpr int mrCancel = 2;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

// Caption of the confirmation box.
inline constexpr char16_t kConfirmCaption[] = u"確認";

// Plain message box: the application title as caption, no icon, one "OK"
// button (also Enter and Esc).
void ShowMessage(const QString& text, QWidget* owner = nullptr);

// Confirmation box: caption "確認", the question-mark icon, the buttons
// "はい(&Y)" (default, Enter) and "いいえ(&N)" (Esc). Returns mrYes or mrNo;
// closing the box with its close box gives mrCancel.
int MessageDlgConfirm(const QString& text, QWidget* owner = nullptr);

// The error box of a failed handler: the application title as caption, the
// stop icon, one "OK" button. `text` is shown as given (see ErrorBoxText).
void ShowErrorBox(const QString& text, QWidget* owner = nullptr);

// Input box: `title` as caption, `prompt` above a single-line edit that starts
// with `defaultText` selected and holds at most kInputBoxMaxBytes bytes of
// CP932 text (a double-byte character counts 2), the buttons "OK" (default,
// Enter) and "キャンセル" (Esc). "OK" returns the edit's text; "キャンセル" and
// the close box return the empty text.
inline constexpr int kInputBoxMaxBytes = 255;
QString InputBox(const QString& title, const QString& prompt, const QString& defaultText,
                 QWidget* owner = nullptr);

// The window a box opened now belongs to (see above); nullptr when no window
// is shown.
QWidget* BoxOwner(QWidget* owner);

// The width inside `frame` that a window needs to show `caption` whole in its
// title bar beside the window menu icon and up to three buttons (minimise,
// maximise, close), each about as wide as the bar is high, with a margin as
// wide again. 0 where the frame has no title bar.
int CaptionWidth(const QString& caption, const QMargins& frame);
// Makes a message box at least that wide for its caption.
void FitCaption(QMessageBox& box, const QMargins& frame);

// Length of `text` once converted to CP932, in bytes.
int Cp932Length(const QString& text);

// `text` cut to at most `maxBytes` bytes of CP932 by dropping the characters
// just before `cursor` (where an insertion ends), as an edit with a text limit
// keeps only as much of an insertion as fits. `cursor` moves with the cut.
QString FitCp932Limit(const QString& text, int& cursor, int maxBytes);

}  // namespace framework
