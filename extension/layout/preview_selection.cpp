#include "preview_selection.h"

namespace {

constexpr int32_t kBooklet = 6;
constexpr int32_t kLastNupCount = 5;  // 16 pages per sheet
constexpr int32_t kLastArrangement = 3;

bool IsOrientation(int32_t ori) { return ori >= 0 && ori <= 2; }

// Offset within a family of the picture that shows the arrangement (or
// the booklet's binding edge); -1 when the inputs name no stored picture.
// Two pages per sheet on a portrait page run left to right or right to
// left; landscape pages have only the first of the two.
int VariantOffset(const PreviewInputs& in, LayoutVariant variant) {
  if (variant == LayoutVariant::kXp || in.nup == 0) return 0;
  if (in.nup == kBooklet) return in.edge != 0 ? 1 : 0;
  // Two pages per sheet have two pictures at most, whatever the
  // arrangement says, so any arrangement names one of them.
  if (in.nup == 1) return in.ori == 0 && in.dir >= 2 ? 1 : 0;
  // An arrangement beyond the four known ones would land on the picture
  // of another page count, so it names none.
  if (in.dir < 0 || in.dir > kLastArrangement) return -1;
  return in.dir;
}

int FamilyBase(int32_t col, int32_t ori) {
  const bool portrait = ori == 0;
  if (col == 0) return portrait ? kGreyPortraitFamily : kGreyLandscapeFamily;
  return portrait ? kColourPortraitFamily : kColourLandscapeFamily;
}

int MainPicture(const PreviewInputs& in, LayoutVariant variant) {
  if ((in.col != 0 && in.col != 1) || !IsOrientation(in.ori)) return kColourPortraitFamily;
  // A page count beyond booklet would reach into the next family.
  if (in.nup < 0 || in.nup > kBooklet) return kNoPicture;
  const int offset = VariantOffset(in, variant);
  if (offset < 0) return kNoPicture;
  return FamilyBase(in.col, in.ori) + 4 * in.nup + offset;
}

// The binding line follows the sheet's shape: 2 and 6 pages per sheet
// turn the sheet against the page.
int OverlayPicture(const PreviewInputs& in) {
  if (in.dup != 1 && in.dup != 2) return kNoPicture;
  if (!IsOrientation(in.ori)) return kNoPicture;
  if (in.nup < 0 || in.nup > kLastNupCount) return kNoPicture;
  const bool landscapePage = in.ori != 0;
  const bool turnedSheet = in.nup == 1 || in.nup == 3;
  const bool landscapeSheet = landscapePage != turnedSheet;
  const bool leftBinding = (in.dup == 1) == landscapeSheet;
  const int step = 3 * in.nup;
  if (!landscapePage) return (leftBinding ? kPortraitOverlayLeft : kPortraitOverlayTop) + step;
  return (leftBinding ? kLandscapeOverlayLeft : kLandscapeOverlayTop) + step;
}

}  // namespace

PreviewPictures SelectPreviewPictures(const PreviewInputs* inputs, LayoutVariant variant) {
  PreviewPictures pictures;
  pictures.mainId = kColourPortraitFamily;
  if (inputs == nullptr) return pictures;
  pictures.mainId = MainPicture(*inputs, variant);
  pictures.overlayId = OverlayPicture(*inputs);
  return pictures;
}
