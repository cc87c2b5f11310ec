// Where a test program runs once more under a Windows version that Wine is
// told to report to it (KORVAIN_EXPECT_WINDOWS=major.minor.servicepack),
// this case proves the version took: the other cases of that run then went
// through the library's own version query on that system's path.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

TEST(ReportedWindowsVersion, IsTheOneThisRunIsFor) {
  const char* expected = std::getenv("KORVAIN_EXPECT_WINDOWS");
  if (expected == nullptr) GTEST_SKIP() << "this run is under Wine's default version";
  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)));
  char actual[48];
  std::snprintf(actual, sizeof actual, "%lu.%lu.%u", version.dwMajorVersion,
                version.dwMinorVersion, version.wServicePackMajor);
  EXPECT_STREQ(expected, actual);
}
