#include "host_options.h"

#include <cstdio>
#include <cwchar>

namespace {

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow.push_back(static_cast<char>(c));
  return narrow;
}

bool ParseInstalled(const std::wstring& text, HostOptions* options) {
  const size_t equals = text.find(L'=');
  if (equals == std::wstring::npos || equals == 0) return false;
  std::wstring feature = text.substr(0, equals);
  if (feature[0] == L'*') feature.erase(0, 1);
  options->installed[Narrow(feature)] = Narrow(text.substr(equals + 1));
  return true;
}

bool ParseCount(const std::wstring& text, unsigned* count) {
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != 0 || value == 0 || value > 1000000) return false;
  *count = static_cast<unsigned>(value);
  return true;
}

bool ParseCompared(const std::wstring& text, HostOptions* options) {
  const size_t equals = text.find(L'=');
  if (equals == std::wstring::npos || equals == 0 || equals + 1 == text.size()) return false;
  options->compared.emplace_back(text.substr(0, equals), text.substr(equals + 1));
  return true;
}

bool ParseBytes(const std::wstring& text, long long* bytes) {
  wchar_t* end = nullptr;
  *bytes = std::wcstoll(text.c_str(), &end, 10);
  return end != text.c_str() && *end == 0;
}

bool ParseVersion(const std::wstring& text, HostOptions* options) {
  options->overrideVersion =
      std::swscanf(text.c_str(), L"%u.%u.%u", &options->major, &options->minor,
                   &options->servicePack) == 3;
  return options->overrideVersion;
}

}  // namespace

bool ParseHostOptions(int argc, wchar_t** argv, HostOptions* options) {
  for (int i = 2; i < argc; ++i) {
    const std::wstring flag = argv[i];
    if (i + 1 >= argc) {
      std::fwprintf(stderr, L"%ls needs a value\n", flag.c_str());
      return false;
    }
    const std::wstring value = argv[++i];
    bool ok = true;
    if (flag == L"--plugin") options->plugin = value;
    else if (flag == L"--ppd") options->ppd = value;
    else if (flag == L"--printer") options->printer = value;
    else if (flag == L"--script") options->script = value;
    else if (flag == L"--screenshots") options->screenshots = value;
    else if (flag == L"--devmode-in") options->devmodeIn = value;
    else if (flag == L"--devmode-out") options->devmodeOut = value;
    else if (flag == L"--installed") ok = ParseInstalled(value, options);
    else if (flag == L"--locked") options->locked.push_back(value);
    else if (flag == L"--count") ok = ParseCount(value, &options->count);
    else if (flag == L"--openings-per-load") ok = ParseCount(value, &options->openingsPerLoad);
    else if (flag == L"--windows-version") ok = ParseVersion(value, options);
    else if (flag == L"--compare") ok = ParseCompared(value, options);
    else if (flag == L"--memory-baseline")
      ok = options->hasMemoryBaseline = ParseBytes(value, &options->memoryBaseline);
    else if (flag == L"--memory-unjudged") ok = options->memoryUnjudged = value == L"yes";
    else if (flag == L"--driver-heap-left") ok = ParseBytes(value, &options->driverHeapLeft);
    else ok = false;
    if (!ok) {
      std::fwprintf(stderr, L"cannot use %ls %ls\n", flag.c_str(), value.c_str());
      return false;
    }
  }
  if (options->plugin.empty() || options->ppd.empty()) {
    std::fwprintf(stderr, L"--plugin and --ppd are needed\n");
    return false;
  }
  return true;
}
