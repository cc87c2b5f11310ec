// Redirects one function that a loaded module imports by name: the host
// uses it to report another Windows version to the plug-in.
#pragma once

#include <windows.h>

// Returns the function the module called before, or null when it does not
// import `functionName` from `dllName`.
void* ReplaceImport(HMODULE module, const char* dllName, const char* functionName,
                    void* replacement);
