#include "layout_lists.h"

namespace {

struct ListShape {
  int32_t maxEntries;
  int firstTextId;
};

ListShape ShapeOf(LayoutList list) {
  switch (list) {
    case LayoutList::kOrientation: return {3, 11060};
    case LayoutList::kTwoSided: return {3, 11065};
    case LayoutList::kPageOrder: return {2, 11070};
    case LayoutList::kPagesPerSheet: return {6, 11080};
    case LayoutList::kArrangement: return {4, 11090};
    case LayoutList::kBindingEdge: return {2, 11095};
  }
  return {0, 0};
}

constexpr int kFirstTwoSidedImage = 6;
constexpr int kLandscapeTwoSidedShift = 4;

bool InConflict(uint32_t conflicts, int32_t option) {
  return option >= 0 && option < 32 && (conflicts >> option & 1u) != 0;
}

int ImageOf(LayoutList list, const ListSource& source, int32_t option) {
  const bool conflict = InConflict(source.conflicts, option);
  switch (list) {
    case LayoutList::kOrientation: return 2 * option + (conflict ? 1 : 0);
    case LayoutList::kTwoSided: return TwoSidedImage(option, source.orientationSel, conflict);
    case LayoutList::kPageOrder: return conflict ? kWarningImage : kBlankImage;
    default: return kNoImage;
  }
}

// Orientation and two-sided lists hide options the driver rules out; the
// page-order list shows them all, marked.
bool HidesConflicts(LayoutList list) {
  return list == LayoutList::kOrientation || list == LayoutList::kTwoSided;
}

}  // namespace

int32_t ListBound(LayoutList list, int32_t count) {
  const int32_t most = ShapeOf(list).maxEntries;
  if (count < 0) return 0;
  return count < most ? count : most;
}

int TwoSidedImage(int32_t option, int32_t orientationSel, bool inConflict) {
  int image = kFirstTwoSidedImage;
  if (option != 0) {
    image += 2 * option;
    if (orientationSel != 0) image += kLandscapeTwoSidedShift;
  }
  return image + (inConflict ? 1 : 0);
}

size_t BuildListEntries(LayoutList list, const ListSource& source,
                        ListEntry (&entries)[kMaxListEntries]) {
  const int32_t bound = ListBound(list, source.count);
  const int firstText = ShapeOf(list).firstTextId;
  size_t used = 0;
  for (int32_t option = 0; option < bound; ++option) {
    if (HidesConflicts(list) && InConflict(source.conflicts, option) && option != source.sel)
      continue;
    entries[used++] = {option, firstText + option, ImageOf(list, source, option)};
  }
  return used;
}
