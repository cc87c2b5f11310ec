#include "settings_tree_items.h"

#include <cstring>

namespace {

// The XP builds keep the driver's arrangement, binding-edge, manual-duplex
// and staple items: their Layout page does not offer them.
#ifdef KORVAIN_XP_VARIANT
const DWORD kHiddenLayoutItems[] = {DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER};
const DWORD kCommittedLayoutItems[] = {DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP,
                                       DMPUB_PAGEORDER};
#else
const DWORD kHiddenLayoutItems[] = {DMPUB_ORIENTATION,   DMPUB_DUPLEX,        DMPUB_NUP,
                                    DMPUB_PAGEORDER,     DMPUB_NUP_DIRECTION, DMPUB_MANUAL_DUPLEX,
                                    DMPUB_STAPLE,        DMPUB_BOOKLET_EDGE};
const DWORD kCommittedLayoutItems[] = {DMPUB_ORIENTATION, DMPUB_DUPLEX,        DMPUB_NUP,
                                       DMPUB_PAGEORDER,   DMPUB_NUP_DIRECTION, DMPUB_BOOKLET_EDGE};
#endif

const char kColorModeKeyword[] = "ZQRendering";

template <size_t N>
bool Contains(const DWORD (&ids)[N], DWORD id) {
  for (DWORD candidate : ids)
    if (candidate == id) return true;
  return false;
}

}  // namespace

bool IsHiddenLayoutItem(DWORD dmPubId) { return Contains(kHiddenLayoutItems, dmPubId); }

bool IsCommittedLayoutItem(DWORD dmPubId) { return Contains(kCommittedLayoutItems, dmPubId); }

bool IsColorModeItem(const OPTITEM& item) {
  const auto* userData = reinterpret_cast<const USERDATA*>(item.UserData);
  if (userData == nullptr || userData->pKeyWordName == nullptr) return false;
  return std::strcmp(userData->pKeyWordName, kColorModeKeyword) == 0;
}
