// drvhost soak: the printing preferences opened many times in one process,
// as an application that stays open for days has them opened, with the
// resource ledger counting what the plug-in takes and gives back.
#pragma once

#include "host_options.h"

// Runs the openings, reloading the library every `openingsPerLoad`, and
// prints the ledger, the memory figures and the time of one opening.
// Returns the exit code: 0 when every kind is balanced, every name the
// library looked up was known, every opening closed with OK and, over at
// least 500 openings after the hundredth, the memory counter grew by no
// more than the printed bound; 1 otherwise, and at once (with "soak:
// stopped") when the ledger cannot attach to the library or an import of
// it stops reaching the ledger.
int RunSoak(const HostOptions& options);

// The steps of an opening when no script is named: the Layout page's lists
// and buttons (which repaint the preview), a confidential job on the Job
// Settings page, apply, and OK.
const wchar_t* DefaultOpeningScript();
