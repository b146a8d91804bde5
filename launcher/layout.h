// The panel's geometry as plain arithmetic, apart from the window calls, so that
// it can be checked without a display.
//
// Everything is signed 32-bit arithmetic in which every division truncates
// toward zero. Sums and products wrap around as they do in 32-bit machine
// arithmetic instead of being undefined, so that hostile button sizes in the
// settings file give the same (useless but harmless) numbers on every build.
#ifndef TANDREL_LAUNCHER_LAYOUT_H
#define TANDREL_LAUNCHER_LAYOUT_H

struct WindowPlacement {
    int left;
    int top;
    int width;
    int height;
    // The window is moved only when the size is usable (both sides positive).
    bool move;
};

struct LayoutInput {
    int frameWidth;    // window width minus client width
    int frameHeight;   // window height minus client height
    int pictureWidth;  // 0 when there is no picture
    int pictureHeight; // 0 when there is no picture
    int buttonWidth;   // as configured, used unchanged
    int currentLeft;   // where the window is now
    int currentTop;
    bool haveDesktop; // false when the desktop's size is unknown
    int desktopWidth;
    int desktopHeight;
    // The work area (the screen less the taskbar) of the window's monitor,
    // where the platform can tell it; it takes the place of the desktop.
    bool haveWorkArea;
    int workLeft;
    int workTop;
    int workRight;
    int workBottom;
};

// Size of the window that holds the picture and the button column, centred on
// the work area; a window larger than the work area on either side goes to
// its top-left corner. Without a work area it is centred on the desktop, and
// a window that would stick out on either side goes to (0, 0).
WindowPlacement PlaceWindow(const LayoutInput& input);

// The display scale that the settings' pixel sizes and the picture are meant for.
const int kDefaultDpi = 96;

// A length measured at `fromDpi`, at `dpi`: rounded to the nearest pixel,
// halves away from zero, and held at the int's ends where it does not fit.
// Unchanged when the two are equal (or `fromDpi` is not positive), whatever
// the length.
int ScaleLength(int length, int dpi, int fromDpi);

// The panel's lengths at a display scale: the picture is drawn at
// pictureWidth x pictureHeight, the buttons are buttonWidth x buttonHeight.
struct PanelMetrics {
    int pictureWidth;
    int pictureHeight;
    int buttonWidth;
    int buttonHeight;
};

PanelMetrics ScalePanel(int pictureWidth, int pictureHeight, int buttonWidth, int buttonHeight,
                        int dpi);

// x of every button: centred in the column to the right of the picture.
int ButtonColumnX(int clientLeft, int clientRight, int pictureWidth, int buttonWidth);

// y of the first button from the top, and of the next one below a created one.
int FirstButtonY(int buttonHeight);
int NextButtonY(int y, int buttonHeight);

// y of the Cancel button, which sits at the bottom of the column.
int CancelButtonY(int clientBottom, int buttonHeight);

#endif
