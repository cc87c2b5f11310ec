#!/bin/sh
# Runs a cross-built test program under Wine, quietly. The prefix, the
# display and the persistent wineserver come from scripts/with-wine.sh.
WINEDEBUG=${WINEDEBUG:--all}
export WINEDEBUG
exec wine "$@"
