// The pages of the same-controls stand-in: the plug-in's own Layout and Job
// Settings templates, with the system controls on them filled as the
// plug-in fills them (the labels, the three picture lists with their image
// list of the same icons, the list entries, the edit fields) and nothing
// of the plug-in's logic: no model, no preview, no item handling. An
// opening with them costs what the plug-in's pages cost the system, so
// that what the plug-in adds shows against it.
#pragma once

#include <windows.h>

#include "oem_interfaces.h"

// Hands both pages to the sheet.
void AddSameControlsPages(PPROPSHEETUI_INFO info, HMODULE module);
// At unload: the activation context the pages were made in.
void ReleaseSameControlsContext();
