// Resource identifiers of tandrel.exe. Shared by the resource script and the code.
#ifndef TANDREL_APP_RESOURCE_H
#define TANDREL_APP_RESOURCE_H

// Strings
#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109
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

// Dialogs
#define IDD_ABOUTBOX 103
#define IDC_ABOUT_ICON 2

// Icons
#define IDI_TANDREL 107

// Accelerators
#define IDC_TANDREL 109

// Commands
#define IDM_ABOUT 104

#endif
