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
// Without the variable, or with "none", nothing leaks.
#pragma once

#include <windows.h>

// DllMain at process attach. False when the variable names no known leak,
// so that a mistyped name fails the load instead of leaking nothing.
bool LeakAtLoad(HMODULE module);
// Each opening of the sheet.
void LeakAtOpening(HMODULE module);
