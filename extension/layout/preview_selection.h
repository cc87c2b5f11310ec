// Which stored pictures the Layout preview shows for the driver's current
// layout settings. Pure logic: no Windows header, so it is checked natively
// as well as in the library.
#pragma once

#include <cstddef>
#include <cstdint>

enum class LayoutVariant { kVistaAndLater, kXp };

// The current option of each item the preview reads; 0 where the driver
// has no such item.
struct PreviewInputs {
  int32_t col = 0;   // 0 greyscale, 1 colour
  int32_t ori = 0;   // 0 portrait, 1 landscape, 2 rotated landscape
  int32_t dup = 0;   // 0 one-sided, 1 short-edge flip, 2 long-edge flip
  int32_t nup = 0;   // 0..5 for 1, 2, 4, 6, 9, 16 pages per sheet, 6 booklet
  int32_t dir = 0;   // arrangement: right/down, down/right, left/down, down/left
  int32_t edge = 0;  // booklet binding: 0 left, 1 right
};

constexpr int kNoPicture = 0;

struct PreviewPictures {
  int mainId = kNoPicture;     // bitmap resource drawn first
  int overlayId = kNoPicture;  // laid over the main picture, or none
};

// Public item ids of the driver's settings the preview reads.
constexpr int32_t kPubOrientation = 1;
constexpr int32_t kPubColor = 6;
constexpr int32_t kPubDuplex = 7;
constexpr int32_t kPubNup = 16;
constexpr int32_t kPubNupDirection = 18;
constexpr int32_t kPubBookletEdge = 21;

// Picture families and the overlay series.
constexpr int kColourPortraitFamily = 12101;
constexpr int kColourLandscapeFamily = 12151;
constexpr int kGreyPortraitFamily = 12201;
constexpr int kGreyLandscapeFamily = 12251;
constexpr int kPortraitOverlayLeft = 12301;
constexpr int kPortraitOverlayTop = 12302;
constexpr int kLandscapeOverlayLeft = 12321;
constexpr int kLandscapeOverlayTop = 12322;

// The pictures for `inputs`; a null `inputs` (the driver gave no item
// array) shows the colour portrait single page.
PreviewPictures SelectPreviewPictures(const PreviewInputs* inputs, LayoutVariant variant);

// Reads the inputs from the driver's items: any record type with DMPubID
// and Sel. When several items share an id the last one counts. The XP
// variant never reads the arrangement or binding-edge items.
template <typename Item>
PreviewInputs ReadPreviewInputs(const Item* items, size_t count, LayoutVariant variant) {
  PreviewInputs inputs;
  for (size_t i = 0; items != nullptr && i < count; ++i) {
    const int32_t sel = static_cast<int32_t>(items[i].Sel);
    switch (static_cast<int32_t>(items[i].DMPubID)) {
      case kPubColor: inputs.col = sel; break;
      case kPubOrientation: inputs.ori = sel; break;
      case kPubDuplex: inputs.dup = sel; break;
      case kPubNup: inputs.nup = sel; break;
      case kPubNupDirection:
        if (variant == LayoutVariant::kVistaAndLater) inputs.dir = sel;
        break;
      case kPubBookletEdge:
        if (variant == LayoutVariant::kVistaAndLater) inputs.edge = sel;
        break;
      default: break;
    }
  }
  return inputs;
}
