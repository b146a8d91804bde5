// Resource identifiers of tandrel.exe. Shared by the resource script and the code.
#ifndef TANDREL_APP_RESOURCE_H
#define TANDREL_APP_RESOURCE_H

// Strings (the settings file's names are in launcher/settings_table.h)
#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109

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
