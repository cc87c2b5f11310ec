// The few values that belong to the loaded library as a whole. They are
// plain data, so nothing runs when the library loads or unloads.
#pragma once

#include <windows.h>

extern HINSTANCE g_moduleInstance;  // set when the library is attached
extern LONG g_liveObjectCount;      // plug-in objects alive
extern LONG g_serverLockCount;      // LockServer(TRUE) not yet matched
