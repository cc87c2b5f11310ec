#include "SystemCheck.h"

bool IsSupportedWindows(DWORD dwMajorVersion, DWORD dwMinorVersion, WORD wServicePackMajor) {
  if (dwMajorVersion > 5) return true;
  if (dwMajorVersion < 5) return false;
  return dwMinorVersion != 0 || wServicePackMajor >= 3;
}

bool IsRunningOnSupportedWindows() {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  static_assert(sizeof(OSVERSIONINFOEXW) == 284, "the system reads the size field as 284");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
#pragma GCC diagnostic pop
  return IsSupportedWindows(info.dwMajorVersion, info.dwMinorVersion, info.wServicePackMajor);
}
