// Test support: the shipped library, loaded as the driver loads it.
#pragma once

#include <windows.h>

#include <string>

#include "import_patch.h"
#include "oem_interfaces.h"

typedef HRESULT(STDAPICALLTYPE* DllGetClassObjectProc)(REFCLSID, REFIID, void**);
typedef HRESULT(STDAPICALLTYPE* DllCanUnloadNowProc)();

// The library named by the environment variable KORVAIN_DLL (a Windows or
// Unix-style path), with its two exports.
struct LoadedPlugin {
  HMODULE module = nullptr;
  DllGetClassObjectProc getClassObject = nullptr;
  DllCanUnloadNowProc canUnloadNow = nullptr;

  static std::wstring LibraryPath();
  bool Load();
  void Unload();

  // A factory, or null with the failure recorded in the test.
  IClassFactory* Factory();
  // A plug-in object through the factory, or null with the failure recorded.
  IPrintOemUI2* CreateObject();
};
