#include "PackageCatalogue.h"

#include "InstallerPaths.h"

#include <cstdlib>
#include <cwchar>

namespace {

class FindHandle {
public:
  explicit FindHandle(HANDLE hFind) : m_hFind(hFind) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid()) FindClose(m_hFind);
  }
  bool valid() const { return m_hFind != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return m_hFind; }

private:
  HANDLE m_hFind;
};

bool IsModelFolderCandidate(const WIN32_FIND_DATAW& item) {
  if (wcscmp(item.cFileName, L".") == 0 || wcscmp(item.cFileName, L"..") == 0) return false;
  if (!(item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  // A longer name would become a different folder once cut to the record.
  return wcslen(item.cFileName) < kPackageNameUnits;
}

}  // namespace

int FillPackageCatalogue(const std::wstring& installerDirectory,
                         PackageEntry* apPackages[kMaxPackages], PackageAllocator pfnAllocate) {
  if (!pfnAllocate) pfnAllocate = malloc;
  const std::wstring settingsPath = JoinPath(installerDirectory, L"Res", L"setup.ini");
  if (!IsExistingFile(settingsPath)) return 0;

  WIN32_FIND_DATAW item;
  FindHandle listing(
      FindFirstFileW(JoinPath(installerDirectory, L"Drv", L"*").c_str(), &item));
  if (!listing.valid()) return 0;

  int count = 0;
  do {
    if (!IsModelFolderCandidate(item)) continue;
    if (apPackages[count]) {
      free(apPackages[count]);
      apPackages[count] = nullptr;
    }
    auto* pEntry = static_cast<PackageEntry*>(pfnAllocate(sizeof(PackageEntry)));
    if (!pEntry) break;
    apPackages[count] = pEntry;
    wcscpy(pEntry->szFolderName, item.cFileName);
    const DWORD nRead =
        GetPrivateProfileStringW(L"Packages", pEntry->szFolderName, L"", pEntry->szDisplayName,
                                 kPackageNameUnits, settingsPath.c_str());
    if (nRead > 0) ++count;
  } while (count < kMaxPackages && FindNextFileW(listing.get(), &item));
  return count;
}
