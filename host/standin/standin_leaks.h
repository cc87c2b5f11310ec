// What the stand-in plug-in leaks: one object of the kind that the
// environment variable KORVAIN_STANDIN_LEAK names, at each opening of the
// sheet, or once per load of the library where the kind is made in DllMain
// or cannot be taken twice (a class name, a timer, an activation context
// the library keeps for its pages, the clipboard). Three names test what
// stands behind the ledger instead: "unseen-memory" leaks committed pages,
// which the ledger does not count and only the soak's memory figure shows;
// "unknown-lookup" looks up a function the ledger has never heard of; and
// "rebound-import" puts a function of its own into its import slot of
// CreateSolidBrush, over the ledger's, and leaks brushes through it.
// Some kinds happen on the stand-in's page (standin_page.h), which is added
// for them alone: a block on the driver's heap at each page added, a
// string loaded there when the page is made, a font deleted while it is
// selected in the DC of WM_CTLCOLORSTATIC, the sheet's frame subclassed
// and never put back, a brush at each cancel (or close box). Others take
// something that is given back, but wrongly: the library's activation
// context released once more than made, at the unload; a buffer grown at
// each opening and freed only at the unload; a reference on the driver's
// helper interface never released. "unlisted-library" loads and frees a
// library that is none of the listed system ones at each opening.
// Without the variable, or with "none", nothing leaks.
#pragma once

#include <windows.h>
#include <unknwn.h>

struct LeakSite {
  HMODULE module;
  HWND page;          // the stand-in's page, when on it
  HDC dc;             // the DC a message handed in
  HANDLE driverHeap;  // the opening's plug-in heap
  IUnknown* helper;   // the driver's helper interface, when published
};

enum class LeakMoment { kPageCreation, kPageInit, kControlColour, kCancel, kPublish };

// DllMain at process attach. False when the variable names no known leak,
// so that a mistyped name fails the load instead of leaking nothing.
bool LeakAtLoad(HMODULE module);
// DllMain at process detach.
void LeakAtUnload();
// Each opening of the sheet.
void LeakAtOpening(HMODULE module);
// Whether the named kind happens on the stand-in's page.
bool LeakNeedsPage();
// A moment on the page, or the helper interface published.
void LeakAtMoment(LeakMoment moment, const LeakSite& site);
