// Every function a shipped build of the plug-in imports is either
// redirected by the resource ledger or on its list of functions that take
// nothing: a new import that takes something and is not counted fails
// here, naming it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "import_patch.h"
#include "ledger_imports.h"

namespace {

// Build `index` of the list in KORVAIN_PLUGIN_BUILDS ("first|second").
std::wstring PluginBuild(size_t index) {
  wchar_t value[1024] = {};
  GetEnvironmentVariableW(L"KORVAIN_PLUGIN_BUILDS", value, 1024);
  std::wstring builds = value;
  for (; index > 0 && builds.find(L'|') != std::wstring::npos; --index)
    builds.erase(0, builds.find(L'|') + 1);
  return index == 0 ? builds.substr(0, builds.find(L'|')) : L"";
}

// The imports no list accounts for, one a line; empty when all are.
std::string UncoveredImports(HMODULE library) {
  std::string uncovered;
  ForEachImport(library, [&](const ImportSlot& import) {
    if (import.function == nullptr) {
      uncovered += std::string(import.dll) + "!#" + std::to_string(import.ordinal) +
                   " (by ordinal: the ledger cannot tell what it is)\n";
    } else if (FindRedirection(import.dll, import.function) == nullptr &&
               HarmlessReason(import.dll, import.function) == nullptr) {
      uncovered += std::string(import.dll) + "!" + import.function + "\n";
    }
  });
  return uncovered;
}

size_t ImportCount(HMODULE library) {
  size_t count = 0;
  ForEachImport(library, [&](const ImportSlot&) { ++count; });
  return count;
}

class PluginImports : public testing::TestWithParam<size_t> {};

TEST_P(PluginImports, AreCountedOrTakeNothing) {
  const std::wstring path = PluginBuild(GetParam());
  // Mapped without its imports bound or its DllMain run: only the tables
  // are read.
  HMODULE library = LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(library, nullptr) << "cannot map " << std::string(path.begin(), path.end());
  EXPECT_GT(ImportCount(library), 50u) << "the import table was read";
  EXPECT_EQ(UncoveredImports(library), "")
      << "imports neither redirected by the ledger nor known to take nothing";
  FreeLibrary(library);
}

INSTANTIATE_TEST_SUITE_P(Builds, PluginImports, testing::Values(0, 1),
                         [](const testing::TestParamInfo<size_t>& build) {
                           return std::string(build.param == 0 ? "vista" : "xp");
                         });

}  // namespace
