// drvhost soak: the printing preferences opened many times in one process,
// as an application that stays open for days has them opened, with the
// resource ledger counting what the plug-in takes and gives back.
#pragma once

#include "host_options.h"

// Runs the openings, reloading the library every `openingsPerLoad`, and
// prints the ledger, the table of what the plug-in held at the end of each
// opening, the memory figures and the time of one opening. The script (the
// default one when none is named) offers ways through the sheet (see
// ScriptPaths): each opening takes the next in turn, and how often each
// was taken and how it ended is printed.
// Returns the exit code: 0 when every kind is balanced, nothing was
// released that was not held, every name the library looked up was known,
// every opening was made and its sheet closed by its way out, after the
// settling openings of each load nothing the plug-in holds rose above its
// highest of those openings, the driver's heap held the expected number of
// the plug-in's blocks (--driver-heap-left) and the driver's helper
// interface no reference at the end of every opening, and, over at least
// 500 openings after the hundredth, the memory counter grew by no more
// than the printed bound; 1 otherwise, and at once (with "soak: stopped")
// when the ledger cannot attach to the library or an import of it stops
// reaching the ledger.
int RunSoak(const HostOptions& options);

// The steps of an opening when no script is named: the Layout page's lists
// and buttons (which repaint the preview), a confidential job on the Job
// Settings page, then one of five ways out: Apply then OK (the first, which
// the benchmark takes), OK, Cancel, the close box, each page shown and
// hidden before OK.
const wchar_t* DefaultOpeningScript();
