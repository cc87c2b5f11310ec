#include "legacy_system.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
  const char* name;
  uint32_t major;
  uint32_t minor;
  uint16_t servicePack;
  bool legacy;
};

const VersionCase kVersions[] = {
    {"Windows NT 4.0 SP6", 4, 0, 6, true},
    {"Windows 2000 SP4", 5, 0, 4, true},
    {"Windows XP", 5, 1, 0, true},
    {"Windows XP SP2", 5, 1, 2, true},
    {"Windows XP SP3", 5, 1, 3, false},
    {"Windows Server 2003", 5, 2, 0, false},
    {"Windows Vista", 6, 0, 0, false},
    {"Windows 10", 10, 0, 0, false},
    {"unknown 5.3", 5, 3, 0, false},
};

TEST(LegacyWindowsVersion, OlderThanXpServicePack3IsLegacy) {
  for (const VersionCase& c : kVersions) {
    EXPECT_EQ(IsLegacyWindowsVersion(c.major, c.minor, c.servicePack), c.legacy) << c.name;
  }
}

}  // namespace
