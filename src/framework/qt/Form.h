// Base of the program's top-level windows.
//
// A window lives for the whole run: it is created once, then shown and hidden,
// never destroyed by a close. The handlers below are what the windows
// override; each runs under the handler guard when the event comes from the
// desktop, so a failure shows the error box and the program goes on.
//
//   FormCreate      once, inside construction: the derived constructor ends
//                   with Create().
//   FormShow        each time the window is about to become visible, before it
//                   is visible (a modal box opened here appears before the
//                   window); the window is shown even if FormShow fails.
//   FormCloseQuery  on every close request (close box, Alt+F4, Close()); when it
//                   leaves canClose true the window hides.
//   FormHide        each time the window has been hidden.
//   FormKeyDown     a key pressed while the window is active that none of its
//                   controls took (auto-repeats too, marked as such).
//
// Closing the main form ends the application.
#pragma once

#include <QMargins>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

namespace framework {

// Title-bar buttons and frame of a window. Both are fixed-size single frames.
enum class TFormBorderStyle {
    bsSingle,  // system menu, minimise and close; no maximise
    bsDialog,  // system menu with the close box only
};

class TForm : public QWidget {
    Q_OBJECT

  public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    // Makes the window visible, running FormShow first. Nothing happens when it
    // is visible already. The first showing centres the window on the screen.
    void Show();
    // Shows the window as Show() does, owned by `owner` for as long as it stays
    // visible, as the desktop keeps an owned window above its owner: no click
    // on the owner brings the owner over it, and the owner, while disabled,
    // hands its activation on to it. The next Show() shows it on its own.
    void ShowAbove(TForm* owner);
    TForm* Owner() const { return owner_; }
    // Hides the window (then FormHide runs). Nothing happens when it is hidden.
    void Hide();
    bool Visible() const { return isVisible(); }
    void SetVisible(bool visible) { setVisible(visible); }

    // Every way of showing or hiding the window (QWidget::show and hide
    // included) comes here, so the handlers always run.
    void setVisible(bool visible) override;

    // A close request from code: FormCloseQuery, then, when allowed, the window
    // hides (or, for the main form, the application ends). An exception from
    // FormCloseQuery leaves Close() to its caller and the window stays.
    void Close();

    // A disabled window takes no mouse or keyboard input, and its close box
    // does nothing; Close() from code still works. As on the original
    // platform, disabling the window leaves its controls' own state (and look)
    // alone: it is the window that refuses input, not each control.
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }

    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    QString Caption() const { return windowTitle(); }

    void SetBorderStyle(TFormBorderStyle style);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }

    // The client area, fixed: the user cannot resize the window.
    void SetClientSize(int width, int height);
    int ClientWidth() const { return width(); }
    int ClientHeight() const { return height(); }

    // Outer size and position, frame included.
    int Width() const;
    int Height() const;
    void SetWidth(int width);
    void SetHeight(int height);
    int Left() const { return OuterOrigin().x(); }
    int Top() const { return OuterOrigin().y(); }
    // The frame the desktop puts around the client area (known once the native
    // window exists; asking creates it). A window manager takes its frame away
    // while the window is hidden: a hidden window keeps the frame it was last
    // seen with on the screen, so its outer size is the one the player saw.
    QMargins FrameMargins() const;

    // The application's main window: closing it ends the application. The
    // first form made through CreateForm becomes the main form.
    static void SetMainForm(TForm* form);
    static TForm* MainForm();

  protected:
    // Runs FormCreate (once). The derived constructor calls it as its last
    // step, when every control exists.
    void Create();

    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormCloseQuery(bool& canClose) { (void)canClose; }
    virtual void FormHide() {}
    virtual void FormKeyDown(int key, Qt::KeyboardModifiers shift, bool autoRepeat) {
        (void)key, (void)shift, (void)autoRepeat;
    }

    // What the platform reports of the frame now.
    virtual QMargins NativeFrameMargins() const;

    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Enter (main or keypad) clicks the focused push button, as Space does;
    // other keys that no control took go to FormKeyDown.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPoint OuterOrigin() const;
    void CentreOnScreen();
    void ApplyWindowFlags();
    void SetOwner(TForm* owner);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSingle;
    bool enabled_ = true;
    bool created_ = false;
    bool changingFlags_ = false;
    bool placed_ = false;        // centred by its first showing
    bool inVisibility_ = false;  // a show or hide is running its handler
    QMargins shownFrame_;        // the frame when last hidden, if it had one
    QPointer<TForm> owner_;      // see ShowAbove
};

// Creates a form of type T (whose constructor ends with Create()), stores it in
// `ref` and makes it the main form when it is the first one.
template <class T>
T* CreateForm(T*& ref) {
    ref = new T();
    if (TForm::MainForm() == nullptr) TForm::SetMainForm(ref);
    return ref;
}

}  // namespace framework
