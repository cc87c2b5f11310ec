// Services the extension's pages and handlers share.
#pragma once

#include <windows.h>

// Loads string `id` from `module` into a zero-filled buffer on `heap`,
// however long the string is. The caller owns the buffer (HeapFree on
// `heap`). An id without a string gives an empty string; null means the
// allocation failed, which callers treat as no text.
WCHAR* LoadResString(HMODULE module, HANDLE heap, WORD id);

// The activation context the property pages run under: made once from the
// library's manifest (resource 2), so the pages get version 6 of the common
// controls. INVALID_HANDLE_VALUE when none could be made; the next call then
// tries again.
HANDLE GetPageActivationContext();

// Releases the page activation context, if one was made. Called when the
// library is detached.
void ReleasePageActivationContext();
