#include "module_state.h"

HINSTANCE g_moduleInstance = nullptr;
LONG g_liveObjectCount = 0;
LONG g_serverLockCount = 0;
