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
