// String-table IDs of the settings file's name and of its section and key
// names, which the Launcher loads before every read. The program's resource
// script includes this header, so the IDs and the texts stay together.
#ifndef TANDREL_LAUNCHER_LAUNCHER_STRINGS_H
#define TANDREL_LAUNCHER_LAUNCHER_STRINGS_H

#define IDS_INI_FILE 110
#define IDS_SECTION_GENERAL 111
#define IDS_KEY_BMP 112
#define IDS_KEY_INSTALLER 113
#define IDS_SECTION_BUTTON_CAPTIONS 114
#define IDS_KEY_TITLE_BAR 115
#define IDS_KEY_SYS_MENU_ICON 116
#define IDS_KEY_INSTALL_BUT 117
#define IDS_KEY_BROWSE_BUT 118
#define IDS_KEY_CANCEL_BUT 119
#define IDS_KEY_BUTTON_WIDTH 120
#define IDS_KEY_BUTTON_HEIGHT 121
#define IDS_KEY_BMP_2X 122

#endif
