// The settings file's name and every setting the panel reads, in one table
// that the resource script and the code both include: the names live in the
// program's string table, and the code loads them by these IDs.
#ifndef TANDREL_LAUNCHER_SETTINGS_TABLE_H
#define TANDREL_LAUNCHER_SETTINGS_TABLE_H

#define IDS_INI_FILE 110
#define IDS_SECTION_GENERAL 111
#define IDS_SECTION_BUTTON_CAPTIONS 114

// ROW(setting, section's string ID, key's string ID, key, kind, limit): a
// text's limit is the characters read of it; a number has none. Adding a
// setting is adding a row.
#define TANDREL_SETTINGS(ROW)                                                                      \
    ROW(kTitleBar, IDS_SECTION_GENERAL, 115, "TitleBar", kText, 99)                                \
    ROW(kSysMenuIcon, IDS_SECTION_GENERAL, 116, "SysMenuIcon", kText, 99)                          \
    ROW(kBmp, IDS_SECTION_GENERAL, 112, "Bmp", kText, 99)                                          \
    ROW(kBmp2x, IDS_SECTION_GENERAL, 122, "Bmp2x", kText, 99)                                      \
    ROW(kInstaller, IDS_SECTION_GENERAL, 113, "Installer", kText, 99)                              \
    ROW(kButtonWidth, IDS_SECTION_GENERAL, 120, "ButtonWidth", kNumber, 0)                         \
    ROW(kButtonHeight, IDS_SECTION_GENERAL, 121, "ButtonHeight", kNumber, 0)                       \
    ROW(kInstallBut, IDS_SECTION_BUTTON_CAPTIONS, 117, "InstallBut", kText, 99)                    \
    ROW(kBrowseBut, IDS_SECTION_BUTTON_CAPTIONS, 118, "BrowseBut", kText, 99)                      \
    ROW(kCancelBut, IDS_SECTION_BUTTON_CAPTIONS, 119, "CancelBut", kText, 99)

#endif
