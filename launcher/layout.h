// The panel's geometry as one pure function: from the picture's and the
// buttons' sizes, the display scale, the window's frame and the screen area
// to the window's rectangle, the picture's and every button's. The window code
// only moves windows to what it returns; nothing is read back from the
// platform to finish the arithmetic.
//
// Everything is signed 32-bit arithmetic in which every division truncates
// toward zero. Sums and products wrap around as they do in 32-bit machine
// arithmetic instead of being undefined, so that hostile button sizes in the
// settings file give the same (useless but harmless) numbers on every build.
#ifndef TANDREL_LAUNCHER_LAYOUT_H
#define TANDREL_LAUNCHER_LAYOUT_H

#include "launcher/keyboard.h"

// The display scale that the settings' pixel sizes and the picture are meant for.
const int kDefaultDpi = 96;

// A length measured at `fromDpi`, at `dpi`: rounded to the nearest pixel,
// halves away from zero, and held at the int's ends where it does not fit.
// Unchanged when the two are equal (or `fromDpi` is not positive), whatever
// the length. The one place where lengths change scale.
int ScaleLength(int length, int dpi, int fromDpi);

struct Box {
    int left;
    int top;
    int right;
    int bottom;
};

// What the window is centred on.
enum class ScreenArea {
    kWorkArea, // the screen less the taskbar, of the window's monitor
    kDesktop,  // where the work area is unknown: the desktop, at (0, 0)
    kNone,     // neither is known: the window stays where `place` says
};

struct PanelInput {
    int pictureWidth; // the picture's own size; 0 x 0 without one
    int pictureHeight;
    bool sharpPicture; // its twin at twice the size is at hand
    int buttonWidth;   // as the settings give them, for 100 %, used unchanged
    int buttonHeight;
    bool buttons[kSlotCount]; // which buttons the panel has
    int dpi;
    // How far the window's edges lie outside its client area at `dpi`, as
    // the platform adjusts an empty rectangle: left and top negative.
    Box frame;
    ScreenArea areaKind;
    Box area; // the work area, or the desktop's size
    // The window's top-left corner now, or where the platform suggests it
    // goes; used when no area is known.
    int placeLeft;
    int placeTop;
};

struct PanelLayout {
    Box window; // on the screen
    // The window is moved only when its size is usable (both sides positive).
    bool moveWindow;
    // In the client area: where the picture is drawn, from which file, and
    // whether at another size than the file's own.
    Box picture;
    bool drawSharp;
    bool stretch;
    Box buttons[kSlotCount]; // all zero for a button the panel lacks
};

// The window holds the picture and a column one and a half buttons wide. It
// is centred on the work area, or goes to the area's top-left corner when it
// is larger on either side; centred on a desktop, it goes to (0, 0) when it
// would stick out. Install and Browse stack from the top of the column, with
// no gap for a missing one, Cancel sits at its bottom; every button is
// centred in the column. Every length follows the display scale, and the
// sharp twin is drawn instead of the picture above 100 %.
PanelLayout LayOutPanel(const PanelInput& input);

// Whether a picture's sharp twin is drawn at `dpi`, when there is one.
bool SharpPictureWanted(int dpi);

#endif
