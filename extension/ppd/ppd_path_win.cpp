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
    if (info->pDataFile != nullptr) {
      // Paths of 260 units or more are cut, so that the buffer always ends.
      lstrcpynW(path, info->pDataFile, MAX_PATH);
      found = TRUE;
    }
  }
  HeapFree(heap, 0, buffer);
  return found;
}
