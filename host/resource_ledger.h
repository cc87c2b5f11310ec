// The resource ledger: counts, for the plug-in's library alone, what it
// takes from the system and what it gives back, by redirecting the
// library's own imports and the functions it looks up at run time
// (GetProcAddress is redirected too). One ledger per process: the
// redirected functions are plain functions and find it through a global.
//
// Some things are kept on purpose beyond one opening: the page activation
// context (released when the library unloads), the version-6 common
// controls (loaded once per load of the library and never freed). The
// ledger counts those as kept, and checks that each is taken at most once
// per load of the library. Strings the plug-in leaves on the driver's
// plug-in heap are the driver's to free with the heap: they count as
// released when the host destroys the heap of that opening.
#pragma once

#include <windows.h>

#include <string>

enum class LedgerKind {
  kDeviceContext,
  kBitmap,
  kBrush,
  kPen,
  kFont,
  kRegion,
  kLeftSelected,  // a DC given back while it still held one of the plug-in's objects
  kIcon,
  kMenu,
  kWindow,
  kSubclass,      // a window procedure replaced by the plug-in's
  kImageList,
  kActivationContext,
  kLibrary,
  kDriverHeap,    // blocks on the opening's hOEMHeap
  kOtherHeap,     // blocks on any other Win32 heap
  kCHeap,         // malloc, calloc, realloc, free (new and delete come through them)
  kFile,          // _wfopen, fopen, fclose; CreateFileW, CloseHandle
  kCount
};

struct LedgerLine {
  unsigned long long acquired = 0;
  unsigned long long released = 0;
  unsigned long long kept = 0;
  bool Balanced() const { return acquired == released + kept; }
};

// Starts counting for a freshly loaded library: redirects its imports.
// Call before any call into the library; once per load.
void LedgerAttach(HMODULE module);
// After FreeLibrary: the library's kept resources are settled.
void LedgerAfterUnload();

// One opening of the sheet, with the driver's plug-in heap of it.
void LedgerBeginOpening(HANDLE driverHeap);
// Before the host destroys that heap: what the plug-in left there is the
// driver's to free with it; windows that are gone end their subclassing.
void LedgerEndOpening();

const wchar_t* LedgerKindName(LedgerKind kind);
// The line of a kind, with what is still held counted as kept where the
// kind allows it (the activation context and common controls library, at
// most one each per load).
LedgerLine LedgerLineOf(LedgerKind kind);
// True when every kind is balanced and nothing was kept more than once per
// load; `report` gets one line per kind, and the reasons for a failure.
bool LedgerReport(std::wstring* report);
