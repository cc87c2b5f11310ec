#include "ledger_imports.h"

#include <windows.h>

namespace {

// Functions that take nothing a plug-in must give back, by why:
//   query   reads a value or fills the caller's buffer
//   pure    computes from its arguments alone
//   draws   draws into a DC the plug-in already holds
//   state   changes a setting of something already held, or of the thread
//   message sends a message or runs a window procedure
//   modal   makes its window and destroys it before it returns
//   borrows lends a pointer or handle that stays its owner's
//   copies  copies an image into a list the plug-in holds
//   sync    enters or leaves a lock already held, or waits
//   io      reads or writes a stream the plug-in already holds
//   exits   ends the process
//   runtime runs the C runtime's start-up code
//   protects changes the protection of the library's own pages
//   data    a variable of the C runtime, not a function
//   idempotent registers the system's own classes, once for the process
const HarmlessImport kHarmless[] = {
    {"gdi32.dll", "BitBlt", "draws"},
    {"gdi32.dll", "DPtoLP", "pure"},
    {"gdi32.dll", "GetMapMode", "query"},
    {"gdi32.dll", "GetObjectW", "query"},
    {"gdi32.dll", "PatBlt", "draws"},
    {"gdi32.dll", "SelectObject", "state"},  // what a DC holds is checked when it goes back
    {"gdi32.dll", "SetBkColor", "state"},
    {"gdi32.dll", "SetMapMode", "state"},
    {"kernel32.dll", "EnterCriticalSection", "sync"},
    {"kernel32.dll", "GetLastError", "query"},
    {"kernel32.dll", "GetModuleFileNameW", "query"},
    {"kernel32.dll", "GetModuleHandleA", "query"},  // takes no reference
    {"kernel32.dll", "GetModuleHandleW", "query"},
    {"kernel32.dll", "GetVersionExW", "query"},
    {"kernel32.dll", "GlobalLock", "borrows"},
    {"kernel32.dll", "GlobalSize", "query"},
    {"kernel32.dll", "GlobalUnlock", "borrows"},
    {"kernel32.dll", "LeaveCriticalSection", "sync"},
    {"kernel32.dll", "MultiByteToWideChar", "pure"},
    {"kernel32.dll", "SetLastError", "state"},
    {"kernel32.dll", "Sleep", "sync"},
    {"kernel32.dll", "TlsGetValue", "query"},
    {"kernel32.dll", "VirtualProtect", "protects"},
    {"kernel32.dll", "VirtualQuery", "query"},
    {"kernel32.dll", "WideCharToMultiByte", "pure"},
    {"kernel32.dll", "lstrcpynW", "pure"},
    {"kernel32.dll", "lstrlenW", "pure"},
    {"msvcrt.dll", "__iob_func", "query"},
    {"msvcrt.dll", "_fileno", "query"},
    {"msvcrt.dll", "_amsg_exit", "exits"},
    {"msvcrt.dll", "_initterm", "runtime"},
    {"msvcrt.dll", "_iob", "data"},
    {"msvcrt.dll", "_lock", "sync"},
    {"msvcrt.dll", "_setmode", "io"},  // of a stream the plug-in already holds
    {"msvcrt.dll", "_unlock", "sync"},
    {"msvcrt.dll", "abort", "exits"},
    {"msvcrt.dll", "fgetc", "io"},
    {"msvcrt.dll", "fread", "io"},
    {"msvcrt.dll", "fwrite", "io"},
    {"msvcrt.dll", "memcmp", "pure"},
    {"msvcrt.dll", "memcpy", "pure"},
    {"msvcrt.dll", "memmove", "pure"},
    {"msvcrt.dll", "memset", "pure"},
    {"msvcrt.dll", "strcmp", "pure"},
    {"msvcrt.dll", "strlen", "pure"},
    {"msvcrt.dll", "strncmp", "pure"},
    {"msvcrt.dll", "ungetc", "io"},
    {"msvcrt.dll", "vfprintf", "io"},
    {"user32.dll", "CallWindowProcW", "message"},
    {"user32.dll", "CheckDlgButton", "message"},
    {"user32.dll", "DefWindowProcW", "message"},
    {"user32.dll", "EnableWindow", "state"},
    {"user32.dll", "EqualRect", "pure"},
    {"user32.dll", "GetClipboardData", "borrows"},
    {"user32.dll", "GetDlgItem", "query"},
    {"user32.dll", "GetDlgItemTextW", "query"},
    {"user32.dll", "GetKeyState", "query"},
    {"user32.dll", "GetParent", "query"},
    {"user32.dll", "GetSysColor", "query"},
    {"user32.dll", "GetWindowLongPtrW", "query"},
    {"user32.dll", "GetWindowLongW", "query"},
    {"user32.dll", "GetWindowRect", "query"},
    {"user32.dll", "GetWindowTextLengthW", "query"},
    {"user32.dll", "GetWindowTextW", "query"},
    {"user32.dll", "InflateRect", "pure"},
    {"user32.dll", "IntersectRect", "pure"},
    {"user32.dll", "InvalidateRect", "draws"},
    {"user32.dll", "IsDlgButtonChecked", "query"},
    {"user32.dll", "IsWindowEnabled", "query"},
    {"user32.dll", "LoadStringW", "query"},
    {"user32.dll", "MessageBoxW", "modal"},
    {"user32.dll", "RedrawWindow", "draws"},
    {"user32.dll", "ScreenToClient", "pure"},
    {"user32.dll", "SendDlgItemMessageW", "message"},
    {"user32.dll", "SendMessageW", "message"},
    {"user32.dll", "SetDlgItemTextW", "message"},
    {"user32.dll", "ShowWindow", "state"},
    {"winspool.drv", "GetPrinterDriverW", "query"},
    // Looked up at run time.
    {"comctl32.dll", "InitCommonControls", "idempotent"},
    {"comctl32.dll", "ImageList_ReplaceIcon", "copies"},
    {"msimg32.dll", "TransparentBlt", "draws"},
};

// The system's own libraries whose functions the plug-in reaches through
// its imports and lookups, where the ledger redirects them; their own
// start-up belongs to the process, not to the plug-in.
const char* const kSystemLibraries[] = {
    "kernel32.dll", "user32.dll",  "gdi32.dll",   "advapi32.dll",
    "msvcrt.dll",   "winspool.drv", "comctl32.dll", "msimg32.dll",
};

std::vector<Redirection> AllRedirections() {
  std::vector<Redirection> redirections;
  AppendGdiRedirections(&redirections);
  AppendUserRedirections(&redirections);
  AppendKernelRedirections(&redirections);
  AppendRuntimeRedirections(&redirections);
  AppendLookupRedirections(&redirections);
  return redirections;
}

bool Same(const char* dll, const char* function, const char* listedDll,
          const char* listedFunction) {
  return lstrcmpiA(dll, listedDll) == 0 && lstrcmpA(function, listedFunction) == 0;
}

}  // namespace

bool IsListedSystemLibrary(const char* name) {
  for (const char* listed : kSystemLibraries) {
    if (lstrcmpiA(name, listed) == 0) return true;
  }
  return false;
}

const std::vector<Redirection>& LedgerRedirections() {
  static const std::vector<Redirection>* redirections =
      new std::vector<Redirection>(AllRedirections());  // lives as long as the process
  return *redirections;
}

const Redirection* FindRedirection(const char* dll, const char* function) {
  for (const Redirection& redirection : LedgerRedirections()) {
    if (Same(dll, function, redirection.dll, redirection.function)) return &redirection;
  }
  return nullptr;
}

const char* HarmlessReason(const char* dll, const char* function) {
  for (const HarmlessImport& harmless : kHarmless) {
    if (Same(dll, function, harmless.dll, harmless.function)) return harmless.reason;
  }
  return nullptr;
}
