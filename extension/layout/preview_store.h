// What the Layout page's preview keeps from one paint to the next: the
// pictures it has drawn and the system's transparent copy. Loading them
// again for every paint cost more than the drawing itself. A store lives as
// long as its page and gives everything back when it goes.
#pragma once

#include <windows.h>

#include <cstddef>

typedef BOOL(WINAPI* TransparentBltProc)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// TransparentBlt of Msimg32.dll, looked up at first use inside the
// library's manifest context; the library is freed with the object.
class SystemTransparentCopy {
 public:
  SystemTransparentCopy() = default;
  ~SystemTransparentCopy();
  SystemTransparentCopy(const SystemTransparentCopy&) = delete;
  SystemTransparentCopy& operator=(const SystemTransparentCopy&) = delete;

  // Null when the system has no such function; asked once.
  TransparentBltProc Function();

 private:
  HMODULE library_ = nullptr;
  TransparentBltProc function_ = nullptr;
  bool tried_ = false;
};

// Bitmaps of the library's pictures, each loaded once while it is kept. A
// picture the library lacks is remembered as such. The few most recently
// used are kept, so a user going through every setting never holds all of
// them at once.
class PictureStore {
 public:
  explicit PictureStore(HMODULE module) : module_(module) {}
  ~PictureStore();
  PictureStore(const PictureStore&) = delete;
  PictureStore& operator=(const PictureStore&) = delete;

  // The bitmap of picture `id`, or null. It stays the store's: callers
  // select it and deselect it again, but never draw into it or delete it.
  // It is kept at least until two more pictures have been asked for.
  HBITMAP Picture(int id);

 private:
  struct Kept {
    int id;
    HBITMAP bitmap;
    unsigned lastUse;
  };
  static constexpr size_t kMostKept = 16;

  HMODULE module_;
  Kept kept_[kMostKept] = {};
  size_t count_ = 0;
  unsigned uses_ = 0;
};

struct PreviewStore {
  explicit PreviewStore(HMODULE module) : pictures(module) {}

  PictureStore pictures;
  SystemTransparentCopy transparentCopy;
  RECT lastPicture = {};  // where the latest paint put its picture; empty before
};
