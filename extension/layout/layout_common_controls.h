// The common-controls functions the Layout page calls itself, bound at
// first use inside the activation context of the library's manifest, so
// that version 6 of the common controls serves them like the page's
// controls. Without activation contexts they come from the library the
// process finds first.
#pragma once

#include <windows.h>
#include <commctrl.h>

struct CommonControlsProcs {
  void(WINAPI* initCommonControls)();
  HIMAGELIST(WINAPI* imageListCreate)(int cx, int cy, UINT flags, int initial, int grow);
  int(WINAPI* imageListReplaceIcon)(HIMAGELIST list, int index, HICON icon);
  BOOL(WINAPI* imageListDestroy)(HIMAGELIST list);
};

// Activates the library's manifest context for its lifetime, when the
// platform has activation contexts.
class ManifestContextScope {
 public:
  ManifestContextScope();
  ~ManifestContextScope();
  ManifestContextScope(const ManifestContextScope&) = delete;
  ManifestContextScope& operator=(const ManifestContextScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// Null when the library or one of its functions cannot be had. The library
// stays loaded for the life of the process.
const CommonControlsProcs* BoundCommonControls();
