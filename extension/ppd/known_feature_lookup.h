// Looks a driver settings item up in the known-feature table and loads its
// display name from the extension's string resources.
#pragma once

#include <windows.h>

#include "known_feature_table.h"

// S_OK with `result` filled; E_INVALIDARG for a null module or result, or a
// null keyword with DMPub id 0; E_FAIL when no row matches or the name cannot
// be loaded (an empty string counts as missing).
HRESULT LookupKnownFeature(HMODULE module, KnownFeatureName* result, const WCHAR* keyword,
                           DWORD dmPubId);
