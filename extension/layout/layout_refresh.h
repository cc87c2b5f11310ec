// The Layout page's controls brought in line with the driver's items.
#pragma once

#include <windows.h>

#include "ui_context.h"

void RefreshFromItems(HWND page, const UiContext* context);
