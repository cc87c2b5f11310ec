// The activation context the property pages run under.
#pragma once

#include <windows.h>

// Made once from the library's manifest (resource 2), so the pages get
// version 6 of the common controls. INVALID_HANDLE_VALUE when none could be
// made; the next call then tries again.
HANDLE GetPageActivationContext();

// Releases the page activation context, if one was made. Called when the
// library is detached.
void ReleasePageActivationContext();
