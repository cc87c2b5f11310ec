#include "legacy_system.h"

bool IsLegacyWindowsVersion(uint32_t majorVersion, uint32_t minorVersion,
                            uint16_t servicePackMajor) {
  if (majorVersion < 5) return true;
  if (majorVersion > 5) return false;
  if (minorVersion == 0) return true;
  return minorVersion == 1 && servicePackMajor < 3;
}
