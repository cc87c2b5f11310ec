// The shipped library driven through its exports and method table, as the
// driver drives it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fake_driver_ui.h"
#include "loaded_plugin.h"
#include "plugin_ui.h"
#include "private_devmode.h"

namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;

class PluginObject : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(plugin_.Load()); }
  void TearDown() override { plugin_.Unload(); }

  LoadedPlugin plugin_;
};

// ---- entry points and the class factory ----

TEST_F(PluginObject, ForeignClassIdIsNotAvailableAndLeavesTheOutPointer) {
  const CLSID foreign = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  void* out = &plugin_;
  EXPECT_EQ(plugin_.getClassObject(foreign, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, &plugin_);
}

TEST_F(PluginObject, FactoryComesWithOneReference) {
  IClassFactory* factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->AddRef(), 2u);
  EXPECT_EQ(factory->Release(), 1u);
  EXPECT_EQ(factory->Release(), 0u);
}

TEST_F(PluginObject, FactoryRefusesInterfacesItDoesNotServe) {
  void* out = &plugin_;
  EXPECT_EQ(plugin_.getClassObject(CLSID_PluginUI, IID_IPrintOemUI2, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(plugin_.canUnloadNow(), S_OK);
}

TEST_F(PluginObject, NullOutPointersAreRefused) {
  EXPECT_EQ(plugin_.getClassObject(CLSID_PluginUI, IID_IClassFactory, nullptr), E_POINTER);
  IClassFactory* factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI2, nullptr), E_POINTER);
  IPrintOemUI2* object = plugin_.CreateObject();
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  object->Release();
  factory->Release();
  EXPECT_EQ(plugin_.canUnloadNow(), S_OK);
}

TEST_F(PluginObject, AggregationIsNotSupported) {
  IClassFactory* factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  FakeDriverUI outer;
  void* out = &plugin_;
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(plugin_.canUnloadNow(), S_OK);
  factory->Release();
}

TEST_F(PluginObject, ObjectWithoutMemoryIsOutOfMemoryWithNoInterface) {
  IClassFactory* factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  void* out = &plugin_;
  {
    NextAllocationFails noMemory(plugin_.module);
    ASSERT_TRUE(noMemory.Installed());
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI2, &out), E_OUTOFMEMORY);
  }
  EXPECT_EQ(out, nullptr);
  factory->Release();
  EXPECT_EQ(plugin_.canUnloadNow(), S_OK);
}

TEST_F(PluginObject, OlderInterfaceIsRefusedAndLeavesNoObjectAlive) {
  IClassFactory* factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  void* out = &plugin_;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(plugin_.canUnloadNow(), S_OK);
  factory->Release();
}

TEST_F(PluginObject, ObjectAnswersUnknownAndTheSecondInterfaceOnly) {
  IPrintOemUI2* object = plugin_.CreateObject();
  ASSERT_NE(object, nullptr);
  void* out = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, object);
  static_cast<IUnknown*>(out)->Release();
  out = &plugin_;
  EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(object->Release(), 0u);
}

TEST_F(PluginObject, UnloadWaitsForEveryObjectAndLock) {
  IClassFactory* factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  void* first = nullptr;
  void* second = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI2, &first), S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &second), S_OK);
  factory->Release();  // a live object keeps the library, not the factory
  EXPECT_EQ(plugin_.canUnloadNow(), S_FALSE);

  EXPECT_EQ(static_cast<IUnknown*>(first)->AddRef(), 2u);
  EXPECT_EQ(static_cast<IUnknown*>(first)->Release(), 1u);
  EXPECT_EQ(static_cast<IUnknown*>(first)->Release(), 0u);
  EXPECT_EQ(plugin_.canUnloadNow(), S_FALSE);
  EXPECT_EQ(static_cast<IUnknown*>(second)->Release(), 0u);
  EXPECT_EQ(plugin_.canUnloadNow(), S_OK);

  factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(plugin_.canUnloadNow(), S_FALSE);
  factory = plugin_.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(plugin_.canUnloadNow(), S_FALSE);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(plugin_.canUnloadNow(), S_OK);
  factory->Release();
}

// ---- GetInfo ----

class PluginMethods : public PluginObject {
 protected:
  void SetUp() override {
    PluginObject::SetUp();
    if (HasFatalFailure()) return;
    object_ = plugin_.CreateObject();
    ASSERT_NE(object_, nullptr);
  }
  void TearDown() override {
    if (object_ != nullptr) {
      EXPECT_EQ(object_->Release(), 0u);
    }
    if (plugin_.canUnloadNow != nullptr) {
      EXPECT_EQ(plugin_.canUnloadNow(), S_OK);
    }
    PluginObject::TearDown();
  }

  IPrintOemUI2* object_ = nullptr;
};

TEST_F(PluginMethods, GetInfoSignatureIsZqpsInLittleEndianBytes) {
  unsigned char buffer[4] = {};
  DWORD needed = kUntouched;
  ASSERT_EQ(object_->GetInfo(OEMGI_GETSIGNATURE, buffer, 4, &needed), S_OK);
  const unsigned char expected[4] = {0x53, 0x50, 0x51, 0x5A};
  EXPECT_EQ(0, std::memcmp(buffer, expected, 4));
  EXPECT_EQ(needed, 4u);
}

TEST_F(PluginMethods, GetInfoVersionIsTwo) {
  DWORD version = 0;
  DWORD needed = 0;
  ASSERT_EQ(object_->GetInfo(OEMGI_GETVERSION, &version, sizeof version, &needed), S_OK);
  EXPECT_EQ(version, 2u);
}

TEST_F(PluginMethods, GetInfoFailuresSetTheirLastErrors) {
  struct Case {
    const char* name;
    DWORD mode;
    DWORD size;
    bool withBuffer;
    DWORD expectedNeeded;
    DWORD expectedError;
  };
  const Case cases[] = {
      {"3-byte buffer", OEMGI_GETSIGNATURE, 3, true, 4, ERROR_INSUFFICIENT_BUFFER},
      {"no buffer", OEMGI_GETVERSION, 4, false, 4, ERROR_INSUFFICIENT_BUFFER},
      {"interface version", OEMGI_GETINTERFACEVERSION, 4, true, 0, ERROR_NOT_SUPPORTED},
      {"publisher info", OEMGI_GETPUBLISHERINFO, 64, true, 0, ERROR_NOT_SUPPORTED},
      {"unknown mode", 99, 4, true, 0, ERROR_NOT_SUPPORTED},
  };
  for (const Case& c : cases) {
    DWORD buffer[16] = {};
    DWORD needed = kUntouched;
    SetLastError(0xdeadbeef);
    EXPECT_EQ(object_->GetInfo(c.mode, c.withBuffer ? buffer : nullptr, c.size, &needed), E_FAIL)
        << c.name;
    EXPECT_EQ(GetLastError(), c.expectedError) << c.name;
    EXPECT_EQ(needed, c.expectedNeeded) << c.name;
  }
}

TEST_F(PluginMethods, GetInfoWithoutSizePointerIsAnInvalidParameter) {
  DWORD buffer = 0;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(object_->GetInfo(OEMGI_GETSIGNATURE, &buffer, 4, nullptr), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// ---- DevMode ----

std::vector<unsigned char> Junk(size_t size, unsigned char value) {
  return std::vector<unsigned char>(size, value);
}

TEST_F(PluginMethods, DevModeSizeIs176WhateverTheFieldHeld) {
  OEMDMPARAM param = {};
  param.cbBufSize = 5000;
  ASSERT_EQ(object_->DevMode(OEMDM_SIZE, &param), S_OK);
  EXPECT_EQ(param.cbBufSize, 176u);
}

TEST_F(PluginMethods, DevModeDefaultWritesTheDefaultBlock) {
  auto out = Junk(176, 0xCC);
  OEMDMPARAM param = {};
  param.pOEMDMOut = out.data();
  ASSERT_EQ(object_->DevMode(OEMDM_DEFAULT, &param), S_OK);
  PrivateDevmode expected;
  SetDefaultPrivateDevmode(&expected);
  EXPECT_EQ(0, std::memcmp(out.data(), &expected, 176));
}

TEST_F(PluginMethods, DevModeConvertAndMergeCarryTheBlockOver) {
  for (DWORD mode : {DWORD{OEMDM_CONVERT}, DWORD{OEMDM_MERGE}}) {
    PrivateDevmode in;
    SetDefaultPrivateDevmode(&in);
    in.dwJobType = JOBTYPE_CONFIDENTIAL;
    in.dmExtraHeader.dwVersion = 1;
    std::memcpy(in.szUserName, u"bob", 8);
    PrivateDevmode out;
    SetDefaultPrivateDevmode(&out);
    OEMDMPARAM param = {};
    param.pOEMDMIn = &in;
    param.pOEMDMOut = &out;
    ASSERT_EQ(object_->DevMode(mode, &param), S_OK) << mode;
    EXPECT_EQ(out.dwJobType, JOBTYPE_CONFIDENTIAL) << mode;
    EXPECT_EQ(out.dmExtraHeader.dwVersion, 2u) << mode;
    EXPECT_EQ(0, std::memcmp(out.szUserName, u"bob", 8)) << mode;
  }
}

TEST_F(PluginMethods, DevModeMergeOfAForeignBlockGivesDefaults) {
  auto in = Junk(176, 0x5C);
  PrivateDevmode out;
  SetDefaultPrivateDevmode(&out);
  out.dwJobType = JOBTYPE_CONFIDENTIAL;
  OEMDMPARAM param = {};
  param.pOEMDMIn = in.data();
  param.pOEMDMOut = &out;
  ASSERT_EQ(object_->DevMode(OEMDM_MERGE, &param), S_OK);
  EXPECT_EQ(out.dwJobType, JOBTYPE_NORMAL);
}

TEST_F(PluginMethods, DevModeWithNullBlocksStillSucceeds) {
  OEMDMPARAM param = {};
  EXPECT_EQ(object_->DevMode(OEMDM_DEFAULT, &param), S_OK);
  EXPECT_EQ(object_->DevMode(OEMDM_MERGE, &param), S_OK);
  EXPECT_EQ(object_->DevMode(OEMDM_CONVERT, &param), S_OK);
}

TEST_F(PluginMethods, DevModeRejectsMissingRecordAndUnknownModes) {
  OEMDMPARAM param = {};
  for (DWORD mode : {DWORD{0}, DWORD{5}, DWORD{0xFFFFFFFF}}) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(object_->DevMode(mode, &param), E_FAIL) << mode;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << mode;
  }
  SetLastError(0xdeadbeef);
  EXPECT_EQ(object_->DevMode(OEMDM_SIZE, nullptr), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// ---- PublishDriverInterface ----

TEST_F(PluginMethods, PublishedInterfaceIsHeldOnceAndReleasedWithTheObject) {
  FakeDriverUI driver;
  ASSERT_EQ(object_->PublishDriverInterface(&driver), S_OK);
  EXPECT_EQ(driver.references(), 1);
  EXPECT_EQ(ContextOfPluginUI(object_)->pOemDriverUI, &driver);

  FakeDriverUI another;
  EXPECT_EQ(object_->PublishDriverInterface(&another), S_OK);
  EXPECT_EQ(another.queries(), 0);
  EXPECT_EQ(another.references(), 0);
  EXPECT_EQ(ContextOfPluginUI(object_)->pOemDriverUI, &driver);

  EXPECT_EQ(object_->Release(), 0u);
  object_ = nullptr;
  EXPECT_EQ(driver.references(), 0);
}

TEST_F(PluginMethods, RefusedInterfaceLeavesNoneHeld) {
  FakeDriverUI refusing(false);
  EXPECT_EQ(object_->PublishDriverInterface(&refusing), E_FAIL);
  EXPECT_EQ(refusing.references(), 0);
  EXPECT_EQ(ContextOfPluginUI(object_)->pOemDriverUI, nullptr);

  FakeDriverUI driver;
  EXPECT_EQ(object_->PublishDriverInterface(&driver), S_OK);
  EXPECT_EQ(driver.references(), 1);
  EXPECT_EQ(object_->PublishDriverInterface(nullptr), S_OK);  // one is held already
  EXPECT_EQ(object_->Release(), 0u);
  object_ = nullptr;
  EXPECT_EQ(driver.references(), 0);
}

TEST_F(PluginMethods, NullInterfaceIsRefused) {
  EXPECT_EQ(object_->PublishDriverInterface(nullptr), E_FAIL);
}

// ---- QueryColorProfile ----

TEST_F(PluginMethods, ColorProfileIsNamedInA32ByteBuffer) {
  WCHAR name[16];
  std::memset(name, 0xFF, sizeof name);
  ULONG size = 32;
  FLONG flags = 0;
  ASSERT_EQ(object_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, name,
                                       &size, &flags),
            S_OK);
  EXPECT_STREQ(name, L"OEMPROFILE.icm");
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(flags, static_cast<FLONG>(QCP_PROFILEDISK));
}

TEST_F(PluginMethods, ColorProfileNeeds32Bytes) {
  WCHAR name[16] = {};
  ULONG size = 31;
  FLONG flags = 7;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(object_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, name,
                                       &size, &flags),
            E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(flags, 7u);
  EXPECT_EQ(name[0], 0);

  size = 100;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(object_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE,
                                       nullptr, &size, &flags),
            E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(size, 32u);
}

TEST_F(PluginMethods, SourceProfileIsNotAnsweredAndSetsNoError) {
  WCHAR name[16] = {};
  ULONG size = 32;
  FLONG flags = 0;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(object_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_SOURCEPROFILE, name,
                                       &size, &flags),
            E_FAIL);
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
  EXPECT_EQ(size, 32u);
}

TEST_F(PluginMethods, ColorProfileWithoutOutPointersIsAnInvalidParameter) {
  WCHAR name[16] = {};
  ULONG size = 32;
  SetLastError(0xdeadbeef);
  EXPECT_EQ(object_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, name,
                                       nullptr, nullptr),
            E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(object_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, name,
                                       &size, nullptr),
            E_FAIL);
  EXPECT_EQ(name[0], 0);
}

// ---- the methods the plug-in does not offer ----

TEST_F(PluginMethods, UnofferedMethodsAnswerNotImplementedAndLeaveTheLastError) {
  SetLastError(0xdeadbeef);
  DWORD result = 0;
  INT eventResult = 0;
  const HRESULT results[] = {
      object_->DevicePropertySheets(nullptr, 0),
      object_->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr),
      object_->DeviceCapabilities(nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0,
                                  &result),
      object_->UpgradePrinter(1, nullptr),
      object_->PrinterEvent(nullptr, 0, 0, 0),
      object_->DriverEvent(0, 0, nullptr, 0),
      object_->FontInstallerDlgProc(nullptr, 0, 0, 0),
      object_->UpdateExternalFonts(nullptr, nullptr, nullptr),
      object_->QueryJobAttributes(nullptr, nullptr, 0, nullptr),
      object_->HideStandardUI(0),
      object_->DocumentEvent(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, &eventResult),
  };
  for (size_t i = 0; i < sizeof results / sizeof results[0]; ++i) {
    EXPECT_EQ(results[i], E_NOTIMPL) << "method " << i;
  }
  EXPECT_EQ(GetLastError(), 0xdeadbeefu);
}

}  // namespace
