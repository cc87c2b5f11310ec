// What the settings tree handler knows of the driver's items.
#pragma once

#include "../frame/oem_interfaces.h"

// The driver's layout items that the Layout page replaces: hidden in the
// document tree, and committed to the driver when the user applies.
bool IsHiddenLayoutItem(DWORD dmPubId);
bool IsCommittedLayoutItem(DWORD dmPubId);

// True for the printer's colour-mode item: the PPD keyword behind it is
// "ZQRendering".
bool IsColorModeItem(const OPTITEM& item);

// An item's name or an option's data is a text when it is not a string
// resource id.
inline bool IsText(const void* nameOrId) {
  return reinterpret_cast<ULONG_PTR>(nameOrId) >= 0x10000;
}
