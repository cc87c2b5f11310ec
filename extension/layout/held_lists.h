// What each list of a Layout page was last filled with. Reading a list's
// entries back costs several messages an entry, and every show or hide of
// the page refreshes all its lists; what the page filled in itself it
// need not read back.
#pragma once

#include <windows.h>

#include <cstddef>

#include "layout_lists.h"

struct HeldList {
  size_t count = 0;
  ListEntry entries[kMaxListEntries] = {};
};

// Records that `control` of `page` holds exactly `entries`, in order.
void RememberList(HWND page, int control, const ListEntry* entries, size_t count);

// Copies what `control` of `page` was last recorded as holding; false
// when nothing is recorded for it.
bool RecalledList(HWND page, int control, HeldList* held);

// The page's records go; a later window with its handle starts afresh.
void ForgetLists(HWND page);
