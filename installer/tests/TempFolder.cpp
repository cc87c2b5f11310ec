#include "TempFolder.h"

#include <windows.h>

namespace {

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW item;
  HANDLE hFind = FindFirstFileW((path + L"\\*").c_str(), &item);
  if (hFind != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = item.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(hFind, &item));
    FindClose(hFind);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  static unsigned serial = 0;
  for (;;) {
    m_path = std::wstring(base) + L"kestrup-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial);
    if (CreateDirectoryW(m_path.c_str(), nullptr)) break;
  }
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

void TempFolder::MakeFolder(const std::wstring& relative) const {
  CreateDirectoryW(Join(relative).c_str(), nullptr);
}

void TempFolder::WriteBytes(const std::wstring& relative, const std::string& bytes) const {
  HANDLE hFile = CreateFileW(Join(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(hFile);
}
