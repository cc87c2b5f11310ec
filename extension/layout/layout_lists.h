// The entries of the Layout page's lists: which options of a driver item
// are offered, with which text and which picture. Pure logic, no Windows
// header.
#pragma once

#include <cstddef>
#include <cstdint>

enum class LayoutList {
  kOrientation,
  kTwoSided,
  kPageOrder,
  kPagesPerSheet,
  kArrangement,
  kBindingEdge,
};

constexpr size_t kMaxListEntries = 6;  // the pages-per-sheet list is the longest
constexpr int kNoImage = -1;           // a plain list entry

// Positions in the page's combo image list.
constexpr int kWarningImage = 16;
constexpr int kBlankImage = 17;  // past the last image: the entry shows none

struct ListEntry {
  int32_t option;  // the item's option the entry stands for
  int textId;      // string resource of its text
  int image;       // image list position, or kNoImage
};

// What the page knows of one driver item when it lists it.
struct ListSource {
  int32_t count = 0;           // options of the item
  int32_t sel = 0;             // its current option
  uint32_t conflicts = 0;      // bit k: option k is in conflict
  int32_t orientationSel = 0;  // two-sided pictures follow the page's orientation
};

// How many options a list offers at most: the item's count, cut to the
// number of texts the list has.
int32_t ListBound(LayoutList list, int32_t count);

// Fills `entries` in option order and returns how many there are. An
// orientation or two-sided option in conflict is left out unless it is the
// current one, so entry positions and options may differ: the page keeps
// each entry's option with it.
size_t BuildListEntries(LayoutList list, const ListSource& source,
                        ListEntry (&entries)[kMaxListEntries]);

// The picture of two-sided option `option`: the single sheet, or the
// turned sheet drawn for portrait or landscape pages; one higher with the
// warning mark.
int TwoSidedImage(int32_t option, int32_t orientationSel, bool inConflict);
