// The publisher's check: reads the settings, the pictures, the icon and the
// installer through the panel's own code and reports what the panel will do
// with this folder, in each of its languages, and what is wrong, without
// showing it or starting anything.
#ifndef TANDREL_LAUNCHER_CHECK_H
#define TANDREL_LAUNCHER_CHECK_H

#include <windows.h>

#include "launcher/check_rules.h"

// Fills `report` for the current directory; `instance` carries the string
// table. With `language` (null or empty for none), the folder is checked as a
// customer of that language sees it; else every language is.
void RunCheck(HINSTANCE instance, const char16_t* language, CheckReport* report);

#endif
