// The Launcher: the one object behind the main window. From the settings it
// builds the panel (picture, title, icon, buttons) at the display's scale,
// paints it and answers clicks and keys; everything else is its own.
#ifndef TANDREL_LAUNCHER_LAUNCHER_H
#define TANDREL_LAUNCHER_LAUNCHER_H

#include <windows.h>

#include "launcher/layout.h"
#include "launcher/settings.h"

class DibImage;

class Launcher {
  public:
    // A frame with a caption and the system menu; no sizing border, no
    // minimise or maximise box. (Windows gives every top-level window a
    // caption, so the frame is measured with one.)
    static const DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU;
    // The panel's background, the system's colour for the face of buttons and
    // dialogs; transparent pictures are blended over it.
    static const int kBackground = COLOR_BTNFACE;

    // Builds the panel in the main window `window`, still hidden. Valid()
    // then tells whether it may be shown: a panel without any caption is not.
    Launcher(HINSTANCE instance, HWND window, const Settings& settings);
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    bool Valid() const { return valid; }
    HWND Window() const { return window; }
    // The buttons' font: the system's message font at the panel's scale.
    HFONT Font() const { return font; }

    // What the window procedures hand to the panel.
    void OnPaint(HDC deviceContext);
    void OnPaletteChanged();
    // Whether `control` was one of the buttons.
    bool OnButtonClicked(HWND control);
    // Whether the key is the panel's; Enter is not, as its press goes on to
    // the focused button.
    bool OnKeyDown(UINT virtualKey, LPARAM keyData);
    void OnActivate(bool active);
    // The window has moved to a monitor of another scale: it lays itself out
    // again there, at the place the platform suggests.
    void OnDpiChanged(int newDpi, const RECT& suggested);

  private:
    bool SetUp();
    void CreateButtons();
    // Lays the panel out at `dpi` and moves the window and the buttons there;
    // `suggested`, where given, is the window's new place.
    void Arrange(const RECT* suggested);
    void UpdateFont();
    void FocusSlot(int slot);
    void UpdateDefaultStyles();
    int FocusedSlot() const;
    void MoveFocus(bool forward);
    void StartInstallerAndClose();
    void Browse();
    void RequestClose();

    bool valid;
    HINSTANCE instance;
    HWND window; // not owned
    Settings settings;
    // Owned: the picture, its twin at twice the size (none when either is
    // not configured), the icon from the settings, the buttons' font.
    DibImage* image;
    DibImage* image2x;
    HICON icon;
    HFONT font;
    // The window's DPI, which every length of the panel is scaled to.
    int dpi;
    PanelLayout layout;
    HWND buttons[kSlotCount];
    // The slot that last had the focus or a click.
    int currentSlot;
};

// The one Launcher of the process; set by the application once construction
// has returned, so that messages caused by set-up find none.
extern Launcher* g_launcher;

// The push-button class's own window procedure, saved when a button is
// subclassed and put back when the Launcher is destroyed.
extern WNDPROC g_oldButtonProc;

LRESULT CALLBACK ButtonSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
