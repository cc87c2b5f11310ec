// What the host is asked to do, from its command line.
#pragma once

#include <map>
#include <utility>
#include <string>
#include <vector>

struct HostOptions {
  std::wstring plugin;        // the korvain.dll to load
  std::wstring ppd;           // the printer's PPD, registered as its driver's data file
  std::wstring printer = L"ZQ Sample Printer";
  std::wstring script;        // steps to run; none: the sheet is shown for a person
  std::wstring scriptText;    // steps given as text when no script file is named
  std::wstring screenshots;   // folder for the script's screenshots
  std::wstring devmodeIn;     // a device mode stored earlier, to open the sheet from
  std::wstring devmodeOut;    // where the device mode of this opening is stored
  std::map<std::string, std::string> installed;  // feature keyword without '*' -> option
  std::vector<std::wstring> locked;  // names of document items the driver disables
  // Other plug-ins a benchmark opens in turn with the same script, each
  // with the label it reports under.
  std::vector<std::pair<std::wstring, std::wstring>> compared;  // label, library
  unsigned count = 1;            // openings of a soak run, rounds of a benchmark
  // The memory growth of a baseline run that a soak's growth is judged
  // against, or none; a baseline run itself is not judged.
  long long memoryBaseline = 0;
  bool hasMemoryBaseline = false;
  bool memoryUnjudged = false;
  unsigned openingsPerLoad = 100;  // a soak reloads the library after so many
  // The blocks a plug-in leaves on the driver's heap at every opening of a
  // soak, for the driver to free with the heap (strings it handed over).
  long long driverHeapLeft = 0;
  // How long the script lets the sheet settle after each step; a soak
  // only empties the message queue.
  unsigned settleMilliseconds = 50;
  bool quiet = false;            // no message box texts on the output
  bool overrideVersion = false;  // report this Windows version to the plug-in
  unsigned major = 0, minor = 0, servicePack = 0;
};

// Parses `drvhost sheet ...`, `drvhost soak ...` and `drvhost bench ...`; false with a message
// on standard error.
bool ParseHostOptions(int argc, wchar_t** argv, HostOptions* options);
