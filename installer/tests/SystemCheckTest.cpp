#include "SystemCheck.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
  DWORD major;
  DWORD minor;
  WORD servicePack;
  bool supported;
};

TEST(SystemCheckTest, AcceptsWindows2000Sp3AndEveryLaterSystem) {
  const VersionCase cases[] = {
      {4, 0, 6, false}, {4, 10, 0, false}, {5, 0, 0, false}, {5, 0, 2, false},
      {5, 0, 3, true},  {5, 0, 4, true},   {5, 1, 0, true},  {5, 2, 0, true},
      {6, 0, 0, true},  {6, 1, 1, true},   {10, 0, 0, true},
  };
  for (const VersionCase& c : cases) {
    EXPECT_EQ(c.supported, IsSupportedWindows(c.major, c.minor, c.servicePack))
        << c.major << "." << c.minor << " service pack " << c.servicePack;
  }
}

TEST(SystemCheckTest, TheWineTestSystemIsSupported) {
  EXPECT_TRUE(IsRunningOnSupportedWindows());
}

}  // namespace
