// A stand-in sub-installer for the sample package medium: it records the
// command line and the arguments it was started with in a text file beside
// itself (its own name with ".txt"), and ends. While a file of its own name
// with ".hold" exists beside it, it waits before ending, so that a test can
// see that the installer waits for it. When a file of its own name with
// ".broadcast" exists beside it, it first tells every top-level window
// that the system settings changed, with SendMessage, as setup programs
// do, and records that every window answered.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size,
                      nullptr, nullptr);
  return result;
}

std::wstring OwnPathWithoutExtension() {
  wchar_t path[32768] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, 32768);
  std::wstring result(path, length);
  const size_t dot = result.find_last_of(L'.');
  const size_t slash = result.find_last_of(L'\\');
  if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) result.erase(dot);
  return result;
}

void WriteRecord(const std::wstring& recordPath, const std::string& text) {
  HANDLE hFile = CreateFileW(recordPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(hFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(hFile);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const std::wstring base = OwnPathWithoutExtension();
  std::string record = "cmdline=" + ToUtf8(GetCommandLineW()) + "\n";
  record += "argc=" + std::to_string(__argc) + "\n";
  for (int i = 0; i < __argc && __wargv; ++i) {
    record += "argv[" + std::to_string(i) + "]=" + ToUtf8(__wargv[i]) + "\n";
  }
  if (GetFileAttributesW((base + L".broadcast").c_str()) != INVALID_FILE_ATTRIBUTES) {
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"));
    record += "broadcast=answered\n";
  }
  const std::wstring holdPath = base + L".hold";
  const bool bHold = GetFileAttributesW(holdPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  WriteRecord(base + L".txt", record + (bHold ? "state=held\n" : "state=ended\n"));
  if (!bHold) return 0;
  for (int i = 0; i < 1200 && GetFileAttributesW(holdPath.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(50);
  }
  WriteRecord(base + L".txt", record + "state=ended\n");
  return 0;
}
