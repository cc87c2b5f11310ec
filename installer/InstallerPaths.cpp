#include "InstallerPaths.h"

#include <shlwapi.h>

#include <vector>

std::wstring GetInstallerDirectory() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(),
                                            static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    // A full buffer means the path may have been cut: try a larger one.
    if (length < buffer.size() - 1) break;
    if (buffer.size() >= 32768) return std::wstring();
    buffer.resize(buffer.size() * 2);
  }
  PathRemoveFileSpecW(buffer.data());
  return std::wstring(buffer.data());
}

// A folder at a drive root, such as D:\, keeps its backslash, so none is added
// there: the sub-installer gets canonical paths wherever the medium lies.
std::wstring JoinPath(const std::wstring& first, const std::wstring& second) {
  if (!first.empty() && first.back() == L'\\') return first + second;
  return first + L'\\' + second;
}

std::wstring JoinPath(const std::wstring& first, const std::wstring& second,
                      const std::wstring& third) {
  return JoinPath(JoinPath(first, second), third);
}

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL IsWow64() {
#ifdef _WIN64
  // The installer's 64-bit (test) build: a 64-bit process runs on 64-bit
  // Windows only.
  return TRUE;
#else
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  BOOL bIsWow64 = FALSE;
  HMODULE hKernel = GetModuleHandleW(L"kernel32");
  if (!hKernel) return FALSE;
  auto pfnIsWow64Process =
      reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void (*)()>(
          GetProcAddress(hKernel, "IsWow64Process")));
  if (pfnIsWow64Process && !pfnIsWow64Process(GetCurrentProcess(), &bIsWow64)) bIsWow64 = FALSE;
  return bIsWow64;
#endif
}

std::wstring BuildSubInstallerCommandLine(const std::wstring& subInstallerPath,
                                          const std::wstring& infPath, bool bInfExists) {
  std::wstring commandLine = L"\"" + subInstallerPath + L"\"";
  if (bInfExists) commandLine += L" \"" + infPath + L"\"";
  return commandLine;
}
