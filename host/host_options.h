// What the host is asked to do, from its command line.
#pragma once

#include <map>
#include <string>

struct HostOptions {
  std::wstring plugin;        // the korvain.dll to load
  std::wstring ppd;           // the printer's PPD, registered as its driver's data file
  std::wstring printer = L"ZQ Sample Printer";
  std::wstring script;        // steps to run; none: the sheet is shown for a person
  std::wstring screenshots;   // folder for the script's screenshots
  std::map<std::string, std::string> installed;  // feature keyword without '*' -> option
  bool overrideVersion = false;  // report this Windows version to the plug-in
  unsigned major = 0, minor = 0, servicePack = 0;
};

// Parses `drvhost sheet ...`; false with a message on standard error.
bool ParseHostOptions(int argc, wchar_t** argv, HostOptions* options);
