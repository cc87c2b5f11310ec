// The resource ledger: counts, for the plug-in's library alone, what it
// takes from the system and what it gives back, by redirecting the
// library's own imports and the functions it looks up at run time
// (GetProcAddress is redirected too). The redirections are made from a
// loader notification, after the loader has bound the library's imports and
// before its DllMain runs, so what DllMain and the C runtime's start-up take
// is counted too, and given back at the last unload. One ledger per
// process: the redirected functions are plain functions and find it
// through a global.
//
// Every function the library imports is either redirected or on a short
// list of functions that take nothing (ledger_imports.h); a name it looks
// up at run time that is on neither makes the report fail.
//
// One thing is kept on purpose beyond one opening: the version-6 common
// controls library, loaded once per load of the plug-in's library and
// never freed. The ledger counts it as kept, and checks that it is taken at
// most once per load. Strings the plug-in leaves on the driver's plug-in
// heap are the driver's to free with the heap: they count as released when
// the host destroys the heap of that opening, and how many it left is read
// at each opening (LedgerReadOpening) for the soak to judge.
//
// A release of what the plug-in does not hold (an activation context
// released once too often, a handle it never took) fails the report. So
// does a subclassing of a window the plug-in did not create that is still
// in place when that window goes, unless the window lay inside one of the
// plug-in's pages. For the length of an opening the ledger watches the
// messages of the thread: a DC the system hands in (WM_CTLCOLOR*,
// WM_ERASEBKGND, WM_PAINT or WM_PRINTCLIENT with a DC, WM_DRAWITEM) is
// checked as the plug-in's own are, while the message is handled.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class LedgerKind {
  kDeviceContext,
  kBitmap,
  kBrush,
  kPen,
  kFont,
  kRegion,
  kLeftSelected,  // a DC given back while it still held one of the plug-in's objects
  kIcon,          // icons and cursors
  kMenu,
  kWindow,
  kSubclass,      // a window procedure replaced by the plug-in's
  kWindowClass,
  kTimer,
  kHook,
  kClipboard,     // the clipboard held open
  kImageList,
  kActivationContext,
  kActivation,    // an activation context made current and not yet deactivated
  kLibrary,
  kDriverHeap,    // blocks on the opening's hOEMHeap
  kOtherHeap,     // blocks on any other Win32 heap
  kGlobalMemory,
  kLocalMemory,
  kFile,          // CreateFileW
  kKernelObject,  // semaphores, events, mutexes
  kTlsSlot,
  kCriticalSection,
  kAtom,          // global atoms
  kRegistryKey,
  kCHeap,         // malloc, calloc, realloc, free (new and delete come through them)
  kStream,        // _wfopen, fopen, fclose
  kCount
};

struct LedgerLine {
  unsigned long long acquired = 0;
  unsigned long long released = 0;
  unsigned long long kept = 0;
  bool Balanced() const { return acquired == released + kept; }
};

// Before the plug-in's library at `path` is loaded: the ledger attaches
// itself to it from the loader's notification. False with the reason when
// the system sends no such notification.
bool LedgerWatchLoad(const std::wstring& path, std::wstring* problem);
// After the load returned `module`: true when the ledger attached to that
// library and every redirection holds; false with the reason otherwise.
bool LedgerConfirmAttached(HMODULE module, std::wstring* problem);
// True while every import slot the ledger redirected still holds the
// ledger's function, and no import is bound to a counted function under
// another name (by ordinal, through another library); false with the
// slots that do not.
bool LedgerRedirectionsHold(std::wstring* problem);
// The redirections of functions the attached library does not import, as
// "library!function": they count what it could look up at run time.
std::vector<std::wstring> LedgerRedirectionsNotImported();
// After FreeLibrary: the library's kept resources are settled.
void LedgerAfterUnload();

// One opening of the sheet, with the driver's plug-in heap of it.
void LedgerBeginOpening(HANDLE driverHeap);
// Before the host destroys that heap: what the plug-in left there is the
// driver's to free with it; windows that are gone end their subclassing
// and their timers.
void LedgerEndOpening();

// What the plug-in holds at the end of an opening (after
// LedgerEndOpening): each kind's live count within the load, the bytes of
// its C heap and other heap blocks, and the blocks it left on that
// opening's driver heap.
struct LedgerOpeningReading {
  long long live[static_cast<int>(LedgerKind::kCount)];
  long long cHeapBytes;
  long long otherHeapBytes;
  long long leftOnDriverHeap;
};
LedgerOpeningReading LedgerReadOpening();

const wchar_t* LedgerKindName(LedgerKind kind);
LedgerLine LedgerLineOf(LedgerKind kind);
// True when every kind is balanced, nothing was kept more than once per
// load and every name looked up at run time was known; `report` gets one
// line per kind, and the reasons for a failure.
bool LedgerReport(std::wstring* report);
