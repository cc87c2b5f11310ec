#include "InstallerPaths.h"

#include <shlwapi.h>

#include <string_view>
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

namespace {

// The longest path, in units without the terminator, that the file
// functions take without the extended-length prefix.
constexpr size_t kLongestPlainPath = MAX_PATH - 1;

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kUncPrefix = L"\\\\";

bool StartsWith(const std::wstring& text, std::wstring_view prefix) {
  return text.compare(0, prefix.size(), prefix.data(), prefix.size()) == 0;
}

// The extended-length form of a full path, which the wide file functions
// take up to 32,767 units on every system the installer runs on. A medium
// on a network share has a UNC path.
std::wstring ExtendedLengthPath(const std::wstring& path) {
  if (StartsWith(path, kExtendedPrefix)) return path;
  if (StartsWith(path, kUncPrefix)) {
    return std::wstring(kExtendedUncPrefix) + path.substr(kUncPrefix.size());
  }
  return std::wstring(kExtendedPrefix) + path;
}

std::wstring PlainPath(const std::wstring& path) {
  if (StartsWith(path, kExtendedUncPrefix)) {
    return std::wstring(kUncPrefix) + path.substr(kExtendedUncPrefix.size());
  }
  if (StartsWith(path, kExtendedPrefix)) return path.substr(kExtendedPrefix.size());
  return path;
}

// Every component by its short name where it has one; a volume that keeps
// no short names gives the path back as it is. Empty when the system
// cannot say.
std::wstring ShortNamePath(const std::wstring& path) {
  const std::wstring extended = ExtendedLengthPath(path);
  const DWORD size = GetShortPathNameW(extended.c_str(), nullptr, 0);
  if (size == 0) return std::wstring();
  std::vector<wchar_t> buffer(size);
  const DWORD length = GetShortPathNameW(extended.c_str(), buffer.data(), size);
  if (length == 0 || length >= size) return std::wstring();
  return PlainPath(std::wstring(buffer.data(), length));
}

}  // namespace

InfHandover ChooseInfHandover(const std::wstring& infPath) {
  if (infPath.size() <= kLongestPlainPath) {
    if (!IsExistingFile(infPath)) return {InfHandover::kNoInf, std::wstring()};
    return {InfHandover::kPath, infPath};
  }
  if (!IsExistingFile(ExtendedLengthPath(infPath))) return {InfHandover::kNoInf, std::wstring()};
  const std::wstring alias = ShortNamePath(infPath);
  if (alias.empty() || alias.size() > kLongestPlainPath) {
    return {InfHandover::kOutOfReach, std::wstring()};
  }
  return {InfHandover::kPath, alias};
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
