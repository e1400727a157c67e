// The application object, forms (top-level windows) and frames.
#pragma once

#include <string>

#include "Controls.h"

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TForm : public TControl {
public:
    TNotifyEvent OnShow;
    // Centre when first shown (unless a position was restored): on the
    // monitor that holds the owner window, or on the desktop without one.
    bool CenterOnFirstShow = false;
    TModalResult ModalResult = mrNone;

    // Makes the window from its layout entry: client size, caption, style;
    // the client size scaled to the dpi of the monitor it opens on.
    void CreateForm(const LayoutItem& layout, const std::string& className, plat::Handle owner = nullptr);
    // The dpi the form's controls are laid out at.
    int Dpi() const { return dpi_; }
    // The font of the form and its controls, its height in design pixels.
    void SetFont(const std::string& face, int height, int charset);
    // The smallest outer size the user can drag the window to, in design pixels.
    void SetMinTrackSize(int width, int height);

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& c) { SetText(c); }

    // Runs the show step, centres the window at its first showing, then shows it.
    void Show();
    // Hides the window; a modal loop ends with `ModalResult`, the main loop quits.
    void Close();
    TModalResult ShowModal(TForm* owner);
    void CloseModal(TModalResult result);
    bool IsModal() const { return modal_; }

    // Called by the backend when the user closes the window (close box, Escape on
    // the cancel button, Alt+F4).
    void FireClose();

    // The control that had the keyboard focus when the window was last
    // deactivated (by a message box, a modal dialog, another program's
    // window). It gets the focus back when the window is activated again, so
    // that keys go on where the user left off instead of to the bare window.
    plat::Handle ActiveControl = nullptr;
    // Called by the backend on deactivation (`active` false: remember the
    // focused control) and on activation (give it the focus back). Answers
    // true when a remembered control took the focus.
    bool FireActivate(bool active);

    // Called by the backend when the client area changed size: controls
    // anchored to the right or bottom edge follow it, and so do those
    // anchored inside a container that moved with it.
    void FireResize();
    // Called by the backend when the window moved to a monitor of another
    // dpi: it takes the bounds the system suggests (screen pixels), and its
    // font and every control are made again at the new dpi from the design.
    void FireDpiChanged(int dpi, const plat::Rect& suggested);

    // Enter and Escape. A multi-line text box takes both for itself (a new
    // line, the main window's own confirm and cancel keys); in any other
    // control the form answers them (FireDialogKey).
    static bool ControlTakesKey(plat::Kind focused, unsigned short key);
    // Enter presses the focused push button, else the default button;
    // Escape presses the cancel button, and closes the form where there is
    // no enabled one. `focused` is the control that has the focus, or null.
    void FireDialogKey(unsigned short key, plat::Handle focused);

    ~TForm() override;

private:
    bool shown_ = false;
    bool modal_ = false;
    plat::Handle owner_ = nullptr;
    int dpi_ = kDesignDpi;
    std::string fontFace_;
    int fontHeight_ = 0, fontCharset_ = 0;
    plat::Size minTrack_;
    // The font and the minimum track size kept in design pixels, shown at dpi_.
    void ApplyFont();
    void ApplyMinTrackSize();
};

// A panel of controls laid out once and embedded in forms.
class TFrame : public TPanel {};

class TApplication {
public:
    std::string Title() const { return plat::AppTitle(); }
    void SetTitle(const std::string& t) { plat::SetAppTitle(t); }
    // Shows `main` and runs the event loop until it is closed.
    void Run(TForm& main);
    // The standard error box: the error's message, the application title.
    void ShowException(const std::string& message);
    TForm* MainForm = nullptr;
};

extern TApplication Application;
