// The loader's own word on one library: a call when it has mapped the
// library and bound its imports, before the library's DllMain runs, and one
// when it has unmapped it. Through the loader's DLL notification, which
// Windows has had since Vista (and Wine has).
#pragma once

#include <windows.h>

#include <string>

// Watches for the library at `path` (a full or relative Windows path) from
// now on, instead of any watched before: `loaded` gets its base and size,
// `unloaded` its base. False with the reason when the system sends no
// loader notifications.
bool WatchLibraryLoads(const std::wstring& path, void (*loaded)(HMODULE module, SIZE_T size),
                       void (*unloaded)(HMODULE module), std::wstring* problem);
