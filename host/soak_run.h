// drvhost soak: the printing preferences opened many times in one process,
// as an application that stays open for days has them opened, with the
// resource ledger counting what the plug-in takes and gives back.
#pragma once

#include "host_options.h"

// Runs the openings and prints the ledger and the memory figures; returns
// the exit code: 0 when every kind is balanced and the memory counter grew
// by at most 1% from opening 100 (or the first, in a shorter run) to the
// last, 1 otherwise.
int RunSoak(const HostOptions& options);
