#include "ppd_path.h"

#include <winspool.h>

BOOL GetPpdPath(HANDLE heap, HANDLE printer, WCHAR* path) {
  if (heap == nullptr || path == nullptr) return FALSE;
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
  if (needed == 0) return FALSE;
  BYTE* buffer = static_cast<BYTE*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, needed));
  if (buffer == nullptr) return FALSE;
  BOOL found = FALSE;
  if (GetPrinterDriverW(printer, nullptr, 3, buffer, needed, &needed)) {
    const DRIVER_INFO_3W* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer);
    // A path that does not fit is refused rather than cut: a cut path would
    // name another file, and the printer would get another printer's PPD.
    if (info->pDataFile != nullptr && lstrlenW(info->pDataFile) < MAX_PATH) {
      lstrcpynW(path, info->pDataFile, MAX_PATH);
      found = TRUE;
    }
  }
  HeapFree(heap, 0, buffer);
  return found;
}
