// Localized text from the library's string table onto a caller's heap.
#pragma once

#include <windows.h>

// Loads string `id` from `module` into a zero-filled buffer on `heap`,
// however long the string is. The caller owns the buffer (HeapFree on
// `heap`). An id without a string gives an empty string; null means the
// allocation failed, which callers treat as no text.
WCHAR* LoadResString(HMODULE module, HANDLE heap, WORD id);
