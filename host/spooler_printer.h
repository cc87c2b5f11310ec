// Makes a printer known to the spooler of this Windows (or Wine) system
// by its registry keys alone, so that OpenPrinterW and GetPrinterDriverW
// answer for it as they do for an installed PostScript printer: the
// driver's data file is the printer's PPD.
#pragma once

#include <windows.h>

#include <string>

// Writes the printer and its driver, for both driver environments (a
// 32-bit caller reads "Windows NT x86", a 64-bit one "Windows x64"). False
// when a key cannot be written (registering needs administrator rights on
// Windows).
bool RegisterPrinter(const std::wstring& printerName, const std::wstring& driverName,
                     const std::wstring& ppdPath);
