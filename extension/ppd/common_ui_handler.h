// Adjusts the driver's settings trees to the printer's PPD and installed
// equipment, and follows the user's changes in them.
#pragma once

#include "../frame/ui_context.h"

HRESULT HandleCommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam, UiContext* context);
