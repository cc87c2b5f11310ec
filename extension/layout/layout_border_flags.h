// Two flags about the page-borders box, process-wide and shared by every
// Layout page (full variant only), clear when the library loads.
#pragma once

// The page has turned borders on since pages per sheet last went to 1.
extern bool g_bordersDefaulted;
// The refresh's pages-per-sheet step has decided the borders box, so the
// binding-edge step leaves it alone.
extern bool g_bordersSettled;
