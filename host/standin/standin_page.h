// The stand-in's one page, added only when the leak it is asked for needs
// a page (see standin_leaks.h): a dialog made from a template in memory,
// with one static text, so that the sheet creates it, the static control
// asks it for its colours, and cancelling resets it.
#pragma once

#include <windows.h>

#include "oem_interfaces.h"

// Hands the page to the sheet; `driverHeap` is the opening's plug-in heap.
void AddStandInPage(PPROPSHEETUI_INFO info, HMODULE module, HANDLE driverHeap);
