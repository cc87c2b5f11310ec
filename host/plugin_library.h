// The plug-in's library as the driver holds it: loaded, its class factory
// taken, and given back in the driver's order (factory, DllCanUnloadNow,
// FreeLibrary). The host reloads it as the driver does between openings.
#pragma once

#include <windows.h>

#include <string>

#include "host_options.h"
#include "oem_interfaces.h"

// Who else wants to know of the load, as the resource ledger does.
struct LoadWatch {
  // Before the library is loaded; false with the reason stops the load.
  bool (*beforeLoad)(const std::wstring& path, std::wstring* problem);
  // After it is loaded (and its version query redirected), before any call
  // into it; false with the reason: the library is not used.
  bool (*afterLoad)(HMODULE module, std::wstring* problem);
};

class PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary() { Unload(); }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Loads the library, redirects its version query when the options ask
  // for another Windows version, tells `watch`, and takes the class
  // factory. False with a message on standard error.
  bool Load(const HostOptions& options, const LoadWatch* watch = nullptr);
  // Releases the factory, asks DllCanUnloadNow and frees the library;
  // returns DllCanUnloadNow's answer (S_OK when nothing was loaded).
  HRESULT Unload();

  HMODULE Module() const { return module_; }
  IClassFactory* Factory() const { return factory_; }

 private:
  HMODULE module_ = nullptr;
  IClassFactory* factory_ = nullptr;
};

// "S_OK", "E_FAIL" and the like, for reports.
const wchar_t* ResultText(HRESULT hr);
