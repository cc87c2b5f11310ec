#include "preview_store.h"

#include "layout_common_controls.h"
#include "preview_selection.h"

SystemTransparentCopy::~SystemTransparentCopy() {
  if (library_ != nullptr) FreeLibrary(library_);
}

TransparentBltProc SystemTransparentCopy::Function() {
  if (tried_) return function_;
  tried_ = true;
  {
    ManifestContextScope scope;
    library_ = LoadLibraryW(L"Msimg32.dll");
  }
  if (library_ == nullptr) return nullptr;
  function_ = reinterpret_cast<TransparentBltProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(library_, "TransparentBlt")));
  if (function_ == nullptr) {
    FreeLibrary(library_);
    library_ = nullptr;
  }
  return function_;
}

PictureStore::~PictureStore() {
  for (size_t i = 0; i < count_; ++i) {
    if (kept_[i].bitmap != nullptr) DeleteObject(kept_[i].bitmap);
  }
}

HBITMAP PictureStore::Picture(int id) {
  if (id == kNoPicture) return nullptr;
  ++uses_;
  for (size_t i = 0; i < count_; ++i) {
    if (kept_[i].id != id) continue;
    kept_[i].lastUse = uses_;
    return kept_[i].bitmap;
  }
  size_t slot = count_;
  if (count_ < kMostKept) {
    ++count_;
  } else {
    slot = 0;
    for (size_t i = 1; i < count_; ++i) {
      if (kept_[i].lastUse < kept_[slot].lastUse) slot = i;
    }
    if (kept_[slot].bitmap != nullptr) DeleteObject(kept_[slot].bitmap);
  }
  kept_[slot] = {id, LoadBitmapW(module_, MAKEINTRESOURCEW(id)), uses_};
  return kept_[slot].bitmap;
}
