// Which Windows versions the installer accepts: Windows 2000 from Service
// Pack 3 on, and every later system.
#pragma once

#include <windows.h>

bool IsSupportedWindows(DWORD dwMajorVersion, DWORD dwMinorVersion, WORD wServicePackMajor);

// Asks the running system and applies the rule above.
bool IsRunningOnSupportedWindows();
