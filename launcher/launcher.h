// The Launcher: the one object behind the main window. It reads the settings
// file, builds the panel (picture, title, icon, buttons) at the display's
// scale, paints it and answers clicks and keys.
#ifndef TANDREL_LAUNCHER_LAUNCHER_H
#define TANDREL_LAUNCHER_LAUNCHER_H

#include <windows.h>

#include "launcher/keyboard.h"
#include "launcher/layout.h"

class DibImage;

// Every text field holds at most 99 characters and a terminating zero.
const int kLauncherTextSize = 100;

class Launcher {
  public:
    Launcher(HINSTANCE instance, HWND window);
    virtual ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Settings
    int ReadSettings();
    int ReadIniString(UINT sectionId, UINT keyId, char* destination, int size, const char* iniPath);
    int ReadIniInt(UINT sectionId, UINT keyId, const char* iniPath);

    // Set-up, layout and painting
    int SetUp();
    void SizeAndCenter();
    void CreateButtons();
    void FocusSlot(int slot);
    void UpdateDefaultStyles();
    void PaintOnRequest(HDC deviceContext);
    void Paint(HDC deviceContext);
    void Invalidate();
    // The window has moved to a monitor of another scale: it takes the
    // platform's suggested rectangle and lays the panel out again.
    void OnDpiChanged(int newDpi, const RECT& suggested);

    // Actions and keyboard
    int OnButtonClicked(HWND control);
    int OnKeyDown(UINT virtualKey, LPARAM keyData);
    void OnActivate(bool active);
    int FocusedSlot();
    void MoveFocus(bool forward);
    void RestoreFocus();

    int valid;
    HINSTANCE instance;
    HWND window;
    DibImage* image;
    // owned; the picture at twice the size, none when not configured
    DibImage* image2x;
    HICON icon;
    // owned; the buttons' font: the system's message font at `dpi`, or none
    HFONT font;
    // the window's DPI, which every length of the panel is scaled to
    int dpi;
    HWND buttons[kSlotCount];
    int currentSlot;
    char title[kLauncherTextSize];
    char iconFile[kLauncherTextSize];
    char bitmapFile[kLauncherTextSize];
    char bitmap2xFile[kLauncherTextSize];
    char installer[kLauncherTextSize];
    int buttonWidth;
    int buttonHeight;
    char captions[kSlotCount][kLauncherTextSize];

  private:
    // Section and key names live in the string table; both buffers hold
    // kLauncherTextSize bytes.
    int LoadSectionAndKey(UINT sectionId, UINT keyId, char* section, char* key);
    int PictureSize(int* width, int* height);
    // The picture's and the buttons' sizes at `dpi`.
    PanelMetrics Metrics();
    DibImage* PictureToDraw();
    // Places the buttons in the column; with `create`, creates them there.
    void PlaceButtons(bool create);
    HWND CreateLauncherButton(int x, int y, const PanelMetrics& metrics, const char* caption);
    void UpdateFont();
    void StartInstallerAndClose();
    void Browse();
    void RequestClose();
};

// The one Launcher of the process; set by the application once construction
// has returned, so that messages caused by set-up find none.
extern Launcher* g_launcher;

// The push-button class's own window procedure, saved when a button is
// subclassed and put back when the Launcher is destroyed.
extern WNDPROC g_oldButtonProc;

LRESULT CALLBACK ButtonSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
