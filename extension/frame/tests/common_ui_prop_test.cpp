// CommonUIProp of the shipped library: what it records and how it judges the
// Windows version. The version query is the library's own import of
// GetVersionExW, redirected here to report the system under test.
#include <gtest/gtest.h>

#include "loaded_plugin.h"
#include "plugin_ui.h"

namespace {

struct ReportedVersion {
  BOOL succeeds;
  DWORD major;
  DWORD minor;
  WORD servicePack;
  DWORD sizeSeen;
};

// The replacement below has the system's signature, so it reads the version
// to report from here; each test sets it before use.
ReportedVersion g_reported;

BOOL WINAPI ReportVersion(OSVERSIONINFOW* info) {
  g_reported.sizeSeen = info->dwOSVersionInfoSize;
  if (!g_reported.succeeds) return FALSE;
  auto* extended = reinterpret_cast<OSVERSIONINFOEXW*>(info);
  extended->dwMajorVersion = g_reported.major;
  extended->dwMinorVersion = g_reported.minor;
  extended->wServicePackMajor = g_reported.servicePack;
  return TRUE;
}

class CommonUIPropVersion : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin_.Load());
    original_ = ReplaceImport(plugin_.module, "kernel32.dll", "GetVersionExW",
                              reinterpret_cast<void*>(&ReportVersion));
    ASSERT_NE(original_, nullptr) << "the library does not import GetVersionExW";
    object_ = plugin_.CreateObject();
    ASSERT_NE(object_, nullptr);
  }
  void TearDown() override {
    if (object_ != nullptr) {
      EXPECT_EQ(object_->Release(), 0u);
    }
    if (original_ != nullptr)
      ReplaceImport(plugin_.module, "kernel32.dll", "GetVersionExW", original_);
    plugin_.Unload();
  }

  BOOL LegacyAfterCall(const ReportedVersion& version) {
    g_reported = version;
    OEMCUIPPARAM param = {};
    param.cbSize = sizeof param;
    EXPECT_EQ(object_->CommonUIProp(OEMCUIP_DOCPROP, &param), S_OK);
    EXPECT_EQ(ContextOfPluginUI(object_)->pOemCUIPParam, &param);
    EXPECT_EQ(g_reported.sizeSeen, 284u);
    ContextOfPluginUI(object_)->pOemCUIPParam = nullptr;  // the record dies here
    return ContextOfPluginUI(object_)->bLegacySystem;
  }

  LoadedPlugin plugin_;
  void* original_ = nullptr;
  IPrintOemUI2* object_ = nullptr;
};

TEST_F(CommonUIPropVersion, LegacyBeforeXpServicePack3) {
  struct Case {
    const char* name;
    ReportedVersion version;
    BOOL legacy;
  };
  const Case cases[] = {
      {"Windows 2000", {TRUE, 5, 0, 4, 0}, TRUE},
      {"Windows XP SP2", {TRUE, 5, 1, 2, 0}, TRUE},
      {"Windows XP SP3", {TRUE, 5, 1, 3, 0}, FALSE},
      {"Windows Server 2003", {TRUE, 5, 2, 0, 0}, FALSE},
      {"Windows Vista", {TRUE, 6, 0, 0, 0}, FALSE},
      {"Windows NT 4.0", {TRUE, 4, 0, 6, 0}, TRUE},
      {"failed query", {FALSE, 4, 0, 0, 0}, FALSE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LegacyAfterCall(c.version), c.legacy) << c.name;
  }
}

TEST_F(CommonUIPropVersion, EachCallJudgesAfresh) {
  EXPECT_TRUE(LegacyAfterCall({TRUE, 5, 1, 2, 0}));
  EXPECT_FALSE(LegacyAfterCall({FALSE, 0, 0, 0, 0}));
  EXPECT_TRUE(LegacyAfterCall({TRUE, 5, 0, 0, 0}));
  EXPECT_FALSE(LegacyAfterCall({TRUE, 10, 0, 0, 0}));
}

TEST_F(CommonUIPropVersion, NullRecordIsRecordedToo) {
  g_reported = {TRUE, 6, 1, 0, 0};
  ContextOfPluginUI(object_)->pOemCUIPParam = reinterpret_cast<POEMCUIPPARAM>(&g_reported);
  object_->CommonUIProp(OEMCUIP_DOCPROP, nullptr);
  EXPECT_EQ(ContextOfPluginUI(object_)->pOemCUIPParam, nullptr);
  EXPECT_FALSE(ContextOfPluginUI(object_)->bLegacySystem);
}

TEST(PluginContext, NewObjectStartsWithAZeroedContext) {
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Load());
  IPrintOemUI2* object = plugin.CreateObject();
  ASSERT_NE(object, nullptr);
  const UiContext zero = {};
  EXPECT_EQ(0, memcmp(ContextOfPluginUI(object), &zero, sizeof zero));
  EXPECT_EQ(object->Release(), 0u);
  plugin.Unload();
}

}  // namespace
