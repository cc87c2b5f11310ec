// drvhost bench: the time of one opening of the printing preferences with
// the plug-in against other plug-ins that run the same script in the same
// process on the same PPD, opened in turn, so that whatever the machine is
// doing weighs on all of them alike.
#pragma once

#include "host_options.h"

// Prints, for each plug-in, the median time of one opening, the paints of
// its pages per opening and the median of each phase of an opening, and
// the line "opening PPD WIDTH: korvain N ms, ..." with the ratios of the
// plug-in's time to each other's. Returns 0, or 1 when a library cannot be
// loaded or an opening does not close with OK.
int RunBench(const HostOptions& options);
