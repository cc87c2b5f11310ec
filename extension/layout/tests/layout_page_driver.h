// Test support: the Layout page of the shipped library in a real property
// sheet, over a settings tree the test builds, driven like a user.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "layout_tree.h"
#include "sheet_harness.h"

// Control ids of the page.
enum : int {
  kOrientationLabel = 11003, kOrientation = 11004, kTwoSidedLabel = 11005, kTwoSided = 11006,
  kPageOrderLabel = 11007, kPageOrder = 11008, kPageFormat = 11009, kPagesPerSheetButton = 11010,
  kBookletButton = 11011, kPagesPerSheet = 11012, kArrangementLabel = 11013, kArrangement = 11014,
  kBindingEdgeLabel = 11015, kBindingEdge = 11016, kDrawBorders = 11017, kPreview = 11018,
};

#ifdef KORVAIN_XP_VARIANT
constexpr bool kXpVariant = true;
#else
constexpr bool kXpVariant = false;
#endif

struct ListEntryView {
  std::wstring text;
  int image;
  LONG_PTR option;
};

class LayoutPageDriver {
 public:
  // Opens the sheet over `tree` with the recording driver helper published
  // (or none); false when the sheet could not be shown.
  bool Open(LayoutTree* tree, bool publishDriver = true);

  HWND page() const { return page_; }
  std::vector<ListEntryView> Entries(int list) const;
  int SelectedPosition(int list) const;
  std::wstring Text(int control) const;
  bool Enabled(int control) const;
  bool Visible(int control) const;
  bool Checked(int control) const;

  // Picks the entry at `position` and tells the page, as a user's choice does.
  void Choose(int list, int position);
  // Clicks `button`; a disabled one only has its notice sent to the page.
  void Click(int button);
  // Shows the other page and this one again: the page refreshes twice.
  void Revisit();
  // Applies the sheet, then lets the plug-in's settings-tree callback commit
  // the layout items of `tree`, as the driver does; false when the sheet
  // refused the apply.
  bool ApplyAndCommit(LayoutTree* tree);

  SheetHarness sheet;
  RecordingDriverUI driver;
  OEMUIOBJ uiObject = {sizeof(OEMUIOBJ), nullptr};  // what the driver passes back to itself

 private:
  HWND page_ = nullptr;
};
