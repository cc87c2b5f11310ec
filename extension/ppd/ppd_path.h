// Where the printer's PPD is: the data file of its PostScript driver.
#pragma once

#include <windows.h>

// TRUE with the full path of the driver's data file in `path` (260 units
// with the terminator), FALSE when the spooler cannot say or the path does
// not fit.
BOOL GetPpdPath(HANDLE heap, HANDLE printer, WCHAR* path);
