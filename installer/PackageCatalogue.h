// The catalogue of printer models on the package medium: folders under
// "Drv" that "Res\setup.ini" names in its section "Packages".
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

constexpr int kMaxPackages = 64;
constexpr size_t kPackageNameUnits = 64;

// One model; allocated with malloc, freed with free by the slot's owner.
struct PackageEntry {
  wchar_t szDisplayName[kPackageNameUnits];
  wchar_t szFolderName[kPackageNameUnits];
};

using PackageAllocator = void* (*)(size_t);

// Fills apPackages (all null on entry) from slot 0 and returns the number
// of accepted models, 0 to 64, in listing order. A slot just above the
// count may hold a rejected record; the caller frees every non-null slot.
// Folders whose names do not fit szFolderName are skipped; when a record
// cannot be allocated the listing ends with what it has.
int FillPackageCatalogue(const std::wstring& installerDirectory,
                         PackageEntry* apPackages[kMaxPackages],
                         PackageAllocator pfnAllocate = nullptr);
