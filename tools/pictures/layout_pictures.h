// The catalogue of the Layout page's pictures and how each is drawn: the
// 106 preview bitmaps (main pictures in four families and the two-sided
// overlays) and the 17 icons of the page's lists.
#pragma once

#include <string>
#include <vector>

#include "raster.h"

constexpr int kPreviewWidth = 200;
constexpr int kPreviewHeight = 170;
constexpr int kIconSize = 20;

constexpr Rgb kTeal = {0, 128, 128};  // transparent around every preview
constexpr Rgb kPink = {255, 174, 201};  // transparent sheet area of the overlays

struct PictureSpec {
  int id;
  std::string caption;  // what a person should see, for the contact sheet
};

// Every preview bitmap, in id order.
std::vector<PictureSpec> PreviewCatalogue();
// Every combo icon, in image-list order.
std::vector<PictureSpec> IconCatalogue();

// The picture of `id` from the catalogues; false for an id they lack.
bool DrawPreview(int id, Raster* out);
bool DrawIcon(int id, Raster* out);
