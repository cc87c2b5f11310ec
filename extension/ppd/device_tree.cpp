#include "device_tree.h"
#include "settings_tree_items.h"

namespace {

// String resource ids of the driver's own item names in its device tree.
constexpr ULONG_PTR kFirstSelectedItemName = 400;
constexpr ULONG_PTR kHiddenSubtreeItemName = 64798;

void HideItem(OPTITEM& item) {
  if (item.pOptType != nullptr && item.pOptType->pOptParam != nullptr) {
    for (WORD i = 0; i < item.pOptType->Count; ++i) item.pOptType->pOptParam[i].Flags |= OPTPF_HIDE;
  }
  item.Flags |= OPTIF_HIDE;
}

}  // namespace

// The marked item hides itself and every item after it up to, not
// including, the next item of the same level.
void AdjustDeviceTree(POEMCUIPPARAM param) {
  if (param->pDrvOptItems == nullptr) return;
  bool hiding = false;
  BYTE hiddenLevel = 0;

  for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
    OPTITEM& item = param->pDrvOptItems[i];
    if (hiding) {
      if (item.Level == hiddenLevel)
        hiding = false;
      else
        HideItem(item);
    }
    if (IsText(item.pName)) continue;
    const ULONG_PTR nameId = reinterpret_cast<ULONG_PTR>(item.pName);
    if (nameId == kFirstSelectedItemName) item.Flags |= OPTIF_INITIAL_TVITEM;
    if (nameId == kHiddenSubtreeItemName) {
      item.Flags |= OPTIF_HIDE;
      hiding = true;
      hiddenLevel = item.Level;
    }
  }
}
