// The Launcher's life: construction, settings and destruction.
#include "launcher/launcher.h"

#include <cstring>

#include "launcher/launcher_strings.h"
#include "dib/dib_image.h"

Launcher* g_launcher = nullptr;
WNDPROC g_oldButtonProc = nullptr;

Launcher::Launcher(HINSTANCE instance_, HWND window_)
    : valid(0), instance(instance_), window(window_), image(nullptr), image2x(nullptr),
      icon(nullptr), font(nullptr), dpi(kDefaultDpi), buttons(), currentSlot(0), title(),
      iconFile(), bitmapFile(), bitmap2xFile(), installer(), buttonWidth(0), buttonHeight(0),
      captions() {
    g_oldButtonProc = nullptr;
    if (!instance || !window) {
        return;
    }
    if (!ReadSettings() || !SetUp()) {
        return;
    }
    valid = 1;
}

Launcher::~Launcher() {
    if (image) {
        delete image;
        image = nullptr;
    }
    if (image2x) {
        delete image2x;
        image2x = nullptr;
    }
    if (icon) {
        DestroyIcon(icon);
        icon = nullptr;
    }
    // By now the platform has usually destroyed the buttons with the main
    // window; restoring and destroying a window that is gone does nothing.
    for (HWND& button : buttons) {
        if (button && window) {
            if (g_oldButtonProc) {
                SetWindowLongPtrA(button, GWLP_WNDPROC,
                                  reinterpret_cast<LONG_PTR>(g_oldButtonProc));
            }
            DestroyWindow(button);
        }
        button = nullptr;
    }
    // Released only once no button can draw with it any more.
    if (font) {
        DeleteObject(font);
        font = nullptr;
    }
}

int Launcher::ReadSettings() {
    char iniPath[kLauncherTextSize] = {};
    if (LoadStringA(instance, IDS_INI_FILE, iniPath, sizeof(iniPath)) == 0) {
        return 0;
    }
    ReadIniString(IDS_SECTION_GENERAL, IDS_KEY_TITLE_BAR, title, sizeof(title), iniPath);
    ReadIniString(IDS_SECTION_GENERAL, IDS_KEY_SYS_MENU_ICON, iconFile, sizeof(iconFile), iniPath);
    ReadIniString(IDS_SECTION_GENERAL, IDS_KEY_BMP, bitmapFile, sizeof(bitmapFile), iniPath);
    ReadIniString(IDS_SECTION_GENERAL, IDS_KEY_BMP_2X, bitmap2xFile, sizeof(bitmap2xFile), iniPath);
    ReadIniString(IDS_SECTION_GENERAL, IDS_KEY_INSTALLER, installer, sizeof(installer), iniPath);
    buttonWidth = ReadIniInt(IDS_SECTION_GENERAL, IDS_KEY_BUTTON_WIDTH, iniPath);
    buttonHeight = ReadIniInt(IDS_SECTION_GENERAL, IDS_KEY_BUTTON_HEIGHT, iniPath);

    const UINT captionKeys[kSlotCount] = {IDS_KEY_INSTALL_BUT, IDS_KEY_BROWSE_BUT,
                                          IDS_KEY_CANCEL_BUT};
    int anyCaption = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        ReadIniString(IDS_SECTION_BUTTON_CAPTIONS, captionKeys[slot], captions[slot],
                      sizeof(captions[slot]), iniPath);
        if (captions[slot][0] != '\0') {
            anyCaption = 1;
        }
    }
    return anyCaption;
}

int Launcher::ReadIniString(UINT sectionId, UINT keyId, char* destination, int size,
                            const char* iniPath) {
    memset(destination, 0, static_cast<size_t>(size));
    char section[kLauncherTextSize] = {};
    char key[kLauncherTextSize] = {};
    if (!LoadSectionAndKey(sectionId, keyId, section, key)) {
        return 0;
    }
    DWORD copied =
        GetPrivateProfileStringA(section, key, "", destination, static_cast<DWORD>(size), iniPath);
    return copied > 0 ? 1 : 0;
}

int Launcher::ReadIniInt(UINT sectionId, UINT keyId, const char* iniPath) {
    char section[kLauncherTextSize] = {};
    char key[kLauncherTextSize] = {};
    if (!LoadSectionAndKey(sectionId, keyId, section, key)) {
        return 0;
    }
    return static_cast<int>(GetPrivateProfileIntA(section, key, 0, iniPath));
}

int Launcher::LoadSectionAndKey(UINT sectionId, UINT keyId, char* section, char* key) {
    return LoadStringA(instance, sectionId, section, kLauncherTextSize) > 0 &&
           LoadStringA(instance, keyId, key, kLauncherTextSize) > 0;
}
