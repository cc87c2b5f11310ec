// Paths on the package medium, the existence tests the installer makes on
// them, and the sub-installer's command line.
#pragma once

#include <windows.h>

#include <string>

// The folder that holds the running program, without a trailing component.
// The module path is read without a length limit, so a deep medium never
// turns into a different, cut-off folder.
std::wstring GetInstallerDirectory();

// Joins the parts with single backslashes, also after a folder that ends
// in one (a drive root).
std::wstring JoinPath(const std::wstring& first, const std::wstring& second);
std::wstring JoinPath(const std::wstring& first, const std::wstring& second,
                      const std::wstring& third);

// True when the path names something that exists and is not a folder.
bool IsExistingFile(const std::wstring& path);

// What the sub-installer is handed of the chosen model's INF file.
struct InfHandover {
  enum Kind {
    kNoInf,       // no INF file there (missing, or a folder of that name)
    kPath,        // hand over `path`
    kOutOfReach,  // the file is there, but no path to it fits MAX_PATH
  };
  Kind kind;
  std::wstring path;
};

// The sub-installer is a program of its own that may know no path longer
// than the platform's path length (MAX_PATH units with the terminator). An
// INF path that fits is handed over as it is; a longer one by its
// short-name alias, when the volume keeps short names and the alias fits.
InfHandover ChooseInfHandover(const std::wstring& infPath);

// TRUE when this 32-bit program runs on 64-bit Windows; FALSE where the
// system cannot say (no IsWow64Process, or the call fails).
BOOL IsWow64();

// The sub-installer's whole command line: its own quoted path, then the
// quoted INF path when the INF file is there.
std::wstring BuildSubInstallerCommandLine(const std::wstring& subInstallerPath,
                                          const std::wstring& infPath, bool bInfExists);

// The longest command line the system accepts for a new process, in UTF-16
// units without the terminator.
constexpr size_t kMaxCommandLineUnits = 32766;
