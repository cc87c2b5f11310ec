// Which Windows versions count as legacy: older than Windows XP with
// Service Pack 3. On those the driver keeps its own layout items and the
// Layout page is not offered.
#pragma once

#include <cstdint>

bool IsLegacyWindowsVersion(uint32_t majorVersion, uint32_t minorVersion,
                            uint16_t servicePackMajor);
