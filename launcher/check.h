// The publisher's check: reads the settings, the picture, the icon and the
// installer through the panel's own code and reports what the panel will do
// with this folder and what is wrong, without showing it or starting anything.
#ifndef TANDREL_LAUNCHER_CHECK_H
#define TANDREL_LAUNCHER_CHECK_H

#include <windows.h>

#include "launcher/check_rules.h"

// Fills `report` for the current directory; `instance` carries the string table.
void RunCheck(HINSTANCE instance, CheckReport* report);

#endif
