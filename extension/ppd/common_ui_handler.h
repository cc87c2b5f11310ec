// Adjusts the driver's settings trees to the printer's PPD and installed
// equipment, and follows the user's changes in them.
#pragma once

#include "../frame/ui_context.h"

// Serves both calls the driver makes per settings tree: the first (no item
// array for the plug-in) builds the PPD model on first use and, for the
// document settings, fetches the installed equipment; the second adjusts the
// finished tree. Always S_OK.
HRESULT HandleCommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam, UiContext* context);

// Asks the driver which option is set for the PPD feature `keyword` (with
// its asterisk) and writes it to `value` (260 units). S_OK, the driver's
// failure code, or E_FAIL.
HRESULT QueryInstalledSetting(POEMUIOBJ poemuiobj, UiContext* context, const WCHAR* keyword,
                              WCHAR* value);

// The callback of the document tree: keeps the colour-mode item in step with
// the colour item, and commits the changed layout items when the user
// applies.
LONG APIENTRY CommonUICallback(PCPSUICBPARAM pCallbackParam, POEMCUIPPARAM pOemCUIPParam);
