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

// While alive, the next malloc made by the library's own code (operator new
// and its runtime allocate through it) fails, as when memory runs out; the
// ones after it succeed, so the runtime can still report the failure.
class NextAllocationFails {
 public:
  explicit NextAllocationFails(HMODULE module);
  ~NextAllocationFails();
  NextAllocationFails(const NextAllocationFails&) = delete;
  NextAllocationFails& operator=(const NextAllocationFails&) = delete;
  // False when the library imports no malloc to redirect.
  bool Installed() const { return previous_ != nullptr; }
  // Whether the library has asked for memory since.
  bool Consumed() const;

 private:
  HMODULE module_;
  void* previous_;
};
