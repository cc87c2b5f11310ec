#include "spooler_printer.h"

namespace {

const wchar_t kPrintKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print";
const wchar_t* const kEnvironments[] = {L"Windows NT x86", L"Windows x64"};

bool SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
         ERROR_SUCCESS;
}

bool SetNumber(HKEY key, const wchar_t* name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS;
}

// Opens (creating) a key below the print key; null on failure.
HKEY CreatePrintSubkey(const std::wstring& path) {
  HKEY key = nullptr;
  const std::wstring full = std::wstring(kPrintKey) + L"\\" + path;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, full.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

bool WriteDriver(const wchar_t* environment, const std::wstring& driverName,
                 const std::wstring& ppdPath) {
  HKEY key = CreatePrintSubkey(std::wstring(L"Environments\\") + environment +
                               L"\\Drivers\\Version-3\\" + driverName);
  if (key == nullptr) return false;
  const bool written = SetString(key, L"Configuration File", L"ps5ui.dll") &&
                       SetString(key, L"Data File", ppdPath) &&
                       SetString(key, L"Driver", L"pscript5.dll") &&
                       SetString(key, L"Help File", L"") &&
                       SetString(key, L"Datatype", L"RAW") &&
                       SetNumber(key, L"Version", 3);
  RegCloseKey(key);
  return written;
}

bool WritePrinter(const std::wstring& printerName, const std::wstring& driverName) {
  HKEY key = CreatePrintSubkey(L"Printers\\" + printerName);
  if (key == nullptr) return false;
  const bool written = SetString(key, L"Name", printerName) &&
                       SetString(key, L"Printer Driver", driverName) &&
                       SetString(key, L"Port", L"FILE:") &&
                       SetString(key, L"Print Processor", L"winprint") &&
                       SetString(key, L"Datatype", L"RAW") &&
                       SetNumber(key, L"Attributes", PRINTER_ATTRIBUTE_LOCAL);
  RegCloseKey(key);
  return written;
}

}  // namespace

bool RegisterPrinter(const std::wstring& printerName, const std::wstring& driverName,
                     const std::wstring& ppdPath) {
  for (const wchar_t* environment : kEnvironments)
    if (!WriteDriver(environment, driverName, ppdPath)) return false;
  return WritePrinter(printerName, driverName);
}
