// Every function a shipped build of the plug-in imports is either
// redirected by the resource ledger or on its list of functions that take
// nothing: a new import that takes something and is not counted fails
// here, naming it. And every library it can load (those it imports, and
// every name of a library its image holds as text, which LoadLibrary could
// be handed) is one of the ledger's listed system libraries: the ledger
// counts the plug-in's own imports and lookups only, so another library's
// start-up and work would go unseen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "import_patch.h"
#include "ledger_imports.h"

namespace {

// Build `index` of the list in KORVAIN_PLUGIN_BUILDS ("vista|xp|stand-in").
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

// Text in the image that names a library: a run of name characters ending
// in ".dll" or ".drv", in bytes or in UTF-16 units (`step` 1 or 2).
void NamesInText(const BYTE* at, size_t size, size_t step, std::set<std::string>* names) {
  std::string run;
  for (size_t i = 0; i + step <= size; i += step) {
    const unsigned unit = step == 1 ? at[i] : at[i] | (at[i + 1] << 8);
    const bool nameCharacter =
        unit < 0x80 && (std::isalnum(unit) || unit == '_' || unit == '-' || unit == '.');
    if (nameCharacter) {
      run.push_back(static_cast<char>(std::tolower(unit)));
      continue;
    }
    if (run.size() > 4 && (run.compare(run.size() - 4, 4, ".dll") == 0 ||
                           run.compare(run.size() - 4, 4, ".drv") == 0))
      names->insert(run);
    run.clear();
  }
}

// The name the image exports under, which is no library it loads.
std::string OwnName(const BYTE* base, const IMAGE_NT_HEADERS* nt) {
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (directory.VirtualAddress == 0) return {};
  const auto* exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
  std::string name = reinterpret_cast<const char*>(base + exports->Name);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// The libraries the image imports or names in its sections that no list
// of the ledger accounts for, one a line.
std::string UnlistedLibraries(HMODULE library) {
  std::set<std::string> names;
  ForEachImport(library, [&](const ImportSlot& import) {
    std::string name = import.dll;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.insert(name);
  });
  auto* base = reinterpret_cast<const BYTE*>(library);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    const size_t size = std::min<size_t>(section->Misc.VirtualSize, section->SizeOfRawData);
    for (size_t offset = 0; offset < 2; ++offset) {
      if (size > offset) NamesInText(base + section->VirtualAddress + offset, size - offset, 2, &names);
    }
    NamesInText(base + section->VirtualAddress, size, 1, &names);
  }
  // The last letter of a byte string and its terminator read as one
  // UTF-16 unit: a UTF-16 name right after such a string is read with one
  // letter too many in front. A name counts as listed when it is, with or
  // without its first letter.
  const auto listed = [&](const std::string& name, const std::string& as) {
    return name == as || name.substr(1) == as;
  };
  const std::string own = OwnName(base, nt);
  // The 32-bit GCC runtime's frame registration takes a reference on its
  // shared library only where the process has loaded it already; the
  // ledger names it if that ever happens.
  const std::string kGccRuntime = "libgcc_s_dw2-1.dll";
  std::string unlisted;
  for (const std::string& name : names) {
    if (listed(name, own) || listed(name, kGccRuntime)) continue;
    if (IsListedSystemLibrary(name.c_str()) || IsListedSystemLibrary(name.substr(1).c_str()))
      continue;
    unlisted += name + "\n";
  }
  return unlisted;
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
  EXPECT_EQ(UnlistedLibraries(library), "")
      << "libraries the plug-in can load whose own work the ledger does not count";
  FreeLibrary(library);
}

// The check of the libraries reads what an image names: the stand-in
// plug-in, which can load version.dll to leak through it, is caught.
TEST(PluginLibraries, AnUnlistedLibraryNamedInTheImageIsCaught) {
  const std::wstring path = PluginBuild(2);
  HMODULE library = LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(UnlistedLibraries(library), "version.dll\n");
  FreeLibrary(library);
}

INSTANTIATE_TEST_SUITE_P(Builds, PluginImports, testing::Values(0, 1),
                         [](const testing::TestParamInfo<size_t>& build) {
                           return std::string(build.param == 0 ? "vista" : "xp");
                         });

}  // namespace
