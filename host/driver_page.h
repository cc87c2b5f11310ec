// The page that stands for the driver's own standard pages: it lists the
// document settings tree as the driver shows it, and tells the plug-in's
// callback when the sheet applies.
#pragma once

#include <windows.h>
#include <prsht.h>

class SheetSession;

#define IDD_DRIVER_PAGE 100
#define IDC_DRIVER_ITEMS 101

HPROPSHEETPAGE CreateDriverPage(SheetSession* session);

// Lists the tree again on the page: an item changed while the page shows.
void RelistDriverPage(HWND page);
