#include "soak_run.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <vector>

#include "opening_judge.h"
#include "plugin_library.h"
#include "resource_ledger.h"
#include "script_runner.h"
#include "sheet_session.h"
#include "utf8_output.h"

namespace {

// Memory and time are measured after this opening, past the growth of the
// first ones (the PPD model's first build, the system's caches).
constexpr unsigned kSteadyOpening = 100;
// Fewer openings after the steady one say nothing of a leak of some
// hundred bytes an opening: the memory figure is then not judged.
constexpr unsigned kOpeningsJudged = 500;
// The memory is read after every opening; what is compared is the lowest
// reading of the first and of the last so many openings after the steady
// one. Wine's heaps give memory back in large steps at moments of their
// own, so one reading against another says little; a leak lifts the floor.
constexpr unsigned kFloorOpenings = 100;
// How far the floor may rise: a leak of 1 KiB an opening passes it in the
// 500 openings between the two floors of a judged run.
constexpr SIZE_T kGrowthBound = 512 * 1024;

// The changes an opening makes when no script is named: the Layout page's
// lists and buttons (which repaint the preview), a confidential job on the
// Job Settings page; then one way out of the sheet, a different one at
// each opening in turn: Apply then OK (the benchmark's), OK, Cancel, the
// close box, and each page shown and hidden before OK.
const wchar_t kDefaultScript[] =
    L"page 1\n"
    L"choose 11004 1\n"
    L"choose 11006 2\n"
    L"click 11011\n"
    L"click 11010\n"
    L"choose 11012 2\n"
    L"choose 11014 1\n"
    L"click 11017\n"
    L"page 2\n"
    L"click 10009\n"
    L"type 10002 soak\n"
    L"type 10003 opening\n"
    L"type 10004 1234\n"
    L"path apply then ok\n"
    L"apply\n"
    L"page 1\n"
    L"ok\n"
    L"path ok\n"
    L"page 1\n"
    L"ok\n"
    L"path cancel\n"
    L"cancel\n"
    L"path close box\n"
    L"close\n"
    L"path pages\n"
    L"page 0\n"
    L"page 1\n"
    L"page 2\n"
    L"page 0\n"
    L"ok\n";

// The first openings of each load that settle before the readings of an
// opening are judged against them: the first (which takes what the load
// keeps) and one of each way out after it, so that what any way out
// leaves for the load is seen before it is judged.
unsigned SettlingOpenings(size_t paths) { return static_cast<unsigned>(std::max<size_t>(2, paths + 1)); }

const LoadWatch kLedgerWatch = {&LedgerWatchLoad, &LedgerConfirmAttached};

// Wine 8 answers 0 for PrivateUsage, the handle count and the GUI resource
// counts; PagefileUsage (the process's committed private memory) is filled.
SIZE_T PagefileUsage() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PagefileUsage;
}

void PrintMemory(const wchar_t* when, SIZE_T bytes) {
  PrintLine(Format(L"PagefileUsage %-26ls %12llu bytes", when,
                   static_cast<unsigned long long>(bytes)));
}

void EndOpeningBeforeHeap() { LedgerEndOpening(); }

struct OpeningResult {
  bool opened = false;
  ScriptEnd end = ScriptEnd::kStepFailed;
  LONG helperReferences = 0;
};

// One opening along one way through the sheet, as the driver runs it.
OpeningResult OpenOnce(const HostOptions& options, PluginLibrary* library) {
  OpeningResult result;
  SheetSession session(options, library);
  LedgerBeginOpening(session.PluginHeap());
  result.opened = session.Open();
  if (result.opened) {
    session.Show();
    result.end = session.End();
  }
  session.Close(&EndOpeningBeforeHeap);
  result.helperReferences = session.HelperReferences();
  return result;
}

// What is read at the end of each opening, and how each row is judged.
std::vector<OpeningRow> OpeningRows(const HostOptions& options) {
  std::vector<OpeningRow> rows;
  for (int i = 0; i < static_cast<int>(LedgerKind::kCount); ++i)
    rows.push_back({LedgerKindName(static_cast<LedgerKind>(i)), OpeningRule::kNoRise, 0});
  rows.push_back({L"C heap, bytes", OpeningRule::kNoRise, 0});
  rows.push_back({L"other heaps, bytes", OpeningRule::kNoRise, 0});
  rows.push_back({L"driver's heap, left for the driver", OpeningRule::kExactly,
                  options.driverHeapLeft});
  rows.push_back({L"helper interface references", OpeningRule::kExactly, 0});
  return rows;
}

std::vector<long long> Readings(LONG helperReferences) {
  const LedgerOpeningReading reading = LedgerReadOpening();
  std::vector<long long> readings(reading.live, reading.live + static_cast<int>(LedgerKind::kCount));
  readings.push_back(reading.cHeapBytes);
  readings.push_back(reading.otherHeapBytes);
  readings.push_back(reading.leftOnDriverHeap);
  readings.push_back(helperReferences);
  return readings;
}

// How often each way through the sheet was taken and how it ended.
struct PathCount {
  unsigned taken = 0, withOk = 0, otherwise = 0, failed = 0;
};

void PrintPaths(const std::vector<ScriptPath>& paths, const std::vector<PathCount>& counts) {
  PrintLine(L"soak: ways out of the sheet:");
  for (size_t i = 0; i < paths.size(); ++i) {
    PrintLine(Format(L"soak: path %ls: %u openings, %u closed with OK, %u closed without, "
                     L"%u not closed or not made",
                     paths[i].name.c_str(), counts[i].taken, counts[i].withOk,
                     counts[i].otherwise, counts[i].failed));
  }
}

bool Unload(PluginLibrary* library) {
  const HRESULT answer = library->Unload();
  LedgerAfterUnload();
  if (answer == S_OK) return true;
  PrintLine(std::wstring(L"DllCanUnloadNow: ") + ResultText(answer), stderr);
  return false;
}

// Once, after the first load.
void PrintRedirectionsNotImported() {
  const std::vector<std::wstring> names = LedgerRedirectionsNotImported();
  std::wstring joined;
  for (const std::wstring& name : names) joined += (joined.empty() ? L"" : L", ") + name;
  PrintLine(Format(L"ledger: %u redirections are of functions this library does not import",
                   static_cast<unsigned>(names.size())) +
            (joined.empty() ? L"" : L": " + joined));
}

int Stopped(const std::wstring& why) {
  PrintLine(L"soak: stopped: " + why);
  PrintLine(L"soak: FAILED");
  return 1;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// The lowest memory reading of each hundred openings after the steady one,
// and of the last hundred.
class MemoryFloors {
 public:
  MemoryFloors(unsigned steadyFrom, unsigned last) : steadyFrom_(steadyFrom), last_(last) {}

  void After(unsigned opening) {
    if (opening <= steadyFrom_) return;
    const SIZE_T usage = PagefileUsage();
    const size_t window = (opening - steadyFrom_ - 1) / kFloorOpenings;
    if (window == floors_.size()) floors_.push_back(usage);
    if (usage < floors_[window]) floors_[window] = usage;
    if (opening + kFloorOpenings > last_ && usage < final_) final_ = usage;
  }

  // Prints the floors and the growth from the first to the last, judged
  // when the run is long enough (against the growth of a baseline run when
  // there is one); false when it grew past the bound.
  bool Report(const HostOptions& options) const {
    for (size_t window = 0; window < floors_.size(); ++window) {
      const unsigned from = steadyFrom_ + 1 + static_cast<unsigned>(window) * kFloorOpenings;
      const unsigned to = std::min(from + kFloorOpenings - 1, last_);
      PrintMemory(Format(L"lowest, openings %u-%u", from, to).c_str(), floors_[window]);
    }
    if (last_ - steadyFrom_ < kOpeningsJudged) {
      PrintLine(Format(L"memory: not judged: %u openings after opening %u, the check takes %u",
                       last_ - steadyFrom_, steadyFrom_, kOpeningsJudged));
      return true;
    }
    const unsigned finalFrom = last_ - kFloorOpenings + 1;
    const long long growth = static_cast<long long>(final_) - static_cast<long long>(floors_[0]);
    const std::wstring grew = Format(L"memory: PagefileUsage grew by %lld bytes from openings "
                                     L"%u-%u to %u-%u",
                                     growth, steadyFrom_ + 1, steadyFrom_ + kFloorOpenings,
                                     finalFrom, last_);
    if (options.memoryUnjudged) {
      PrintLine(grew + L": a baseline, not judged");
      return true;
    }
    const long long baseline = options.hasMemoryBaseline ? options.memoryBaseline : 0;
    const bool within = growth - baseline <= static_cast<long long>(kGrowthBound);
    const std::wstring against =
        options.hasMemoryBaseline
            ? Format(L", the baseline's by %lld bytes: %lld bytes more", baseline, growth - baseline)
            : std::wstring();
    PrintLine(grew + against +
              Format(L" (bound %llu bytes): %ls", static_cast<unsigned long long>(kGrowthBound),
                     within ? L"within the bound" : L"PAST THE BOUND"));
    return within;
  }

 private:
  unsigned steadyFrom_, last_;
  std::vector<SIZE_T> floors_;
  SIZE_T final_ = ~SIZE_T{0};
};

}  // namespace

const wchar_t* DefaultOpeningScript() { return kDefaultScript; }

int RunSoak(const HostOptions& given) {
  HostOptions options = given;
  const std::wstring script =
      options.script.empty() ? std::wstring(DefaultOpeningScript()) : ReadScriptFile(options.script);
  const std::vector<ScriptPath> paths = ScriptPaths(script);
  std::vector<PathCount> pathCounts(paths.size());
  options.script.clear();
  options.settleMilliseconds = 0;
  options.quiet = true;
  const unsigned settling = SettlingOpenings(paths.size());
  OpeningJudge judge(OpeningRows(options), settling);

  // Short runs measure from their first opening.
  const unsigned steadyFrom = options.count > kSteadyOpening ? kSteadyOpening : 1;
  const SIZE_T before = PagefileUsage();
  SIZE_T first = 0;
  MemoryFloors floors(steadyFrom, options.count);
  unsigned failedOpenings = 0;
  bool unloaded = true;
  LARGE_INTEGER steadyStart = {}, end = {};
  PluginLibrary library;
  for (unsigned opening = 1; opening <= options.count; ++opening) {
    if ((opening - 1) % options.openingsPerLoad == 0) {
      if (opening > 1 && !Unload(&library)) unloaded = false;
      if (!library.Load(options, &kLedgerWatch))
        return Stopped(L"the library could not be loaded with the ledger attached");
      if (opening == 1) PrintRedirectionsNotImported();
      judge.StartLoad();
    }
    const size_t path = (opening - 1) % paths.size();
    options.scriptText = paths[path].steps;
    const OpeningResult result = OpenOnce(options, &library);
    PathCount& count = pathCounts[path];
    ++count.taken;
    if (!result.opened || result.end == ScriptEnd::kStepFailed ||
        result.end == ScriptEnd::kLeftOpen) {
      ++count.failed;
      ++failedOpenings;
    } else if (result.end == ScriptEnd::kClosedWithOk) {
      ++count.withOk;
    } else {
      ++count.otherwise;
    }
    judge.After(opening, Readings(result.helperReferences));
    std::wstring problem;
    if (!LedgerRedirectionsHold(&problem)) return Stopped(problem);
    if (opening == 1) first = PagefileUsage();
    if (opening == steadyFrom) QueryPerformanceCounter(&steadyStart);
    floors.After(opening);
    if (opening % 100 == 0) PrintLine(Format(L"opening %u done", opening));
  }
  QueryPerformanceCounter(&end);
  if (!Unload(&library)) unloaded = false;
  const SIZE_T last = PagefileUsage();

  std::wstring ledger;
  const bool balanced = LedgerReport(&ledger);
  PrintLine(Format(L"soak: %u openings, %u not made or not closed by their way out",
                   options.count, failedOpenings));
  PrintPaths(paths, pathCounts);
  PrintLine(ledger.substr(0, ledger.size() - 1));
  PrintLine(Format(L"per opening (read at the end of each; %u settling openings a load, then "
                   L"no rise; the driver's heap holds %lld blocks the plug-in hands the driver):",
                   settling, options.driverHeapLeft));
  PrintLine(judge.Table().substr(0, judge.Table().size() - 1));
  if (std::min(options.count, options.openingsPerLoad) <= settling)
    PrintLine(Format(L"per opening: no opening judged for a rise: %u openings a load, %u settle",
                     std::min(options.count, options.openingsPerLoad), settling));
  for (const std::wstring& fault : judge.Faults()) PrintLine(fault);
  PrintMemory(L"before", before);
  PrintMemory(L"after opening 1", first);
  PrintMemory(L"after the last unload", last);
  const bool withinBound = floors.Report(options);
  if (options.count > steadyFrom) {
    PrintLine(Format(L"time of one opening: %.1f ms (mean of openings %u to %u)",
                     1000.0 * Seconds(steadyStart, end) / (options.count - steadyFrom),
                     steadyFrom + 1, options.count));
  }

  if (!balanced) PrintLine(L"soak: the ledger is not balanced");
  if (!unloaded) PrintLine(L"soak: DllCanUnloadNow refused an unload");
  if (failedOpenings != 0) PrintLine(L"soak: some openings were not made or did not close");
  if (!judge.Clean()) PrintLine(L"soak: what the plug-in holds changed from opening to opening");
  const bool clean = balanced && withinBound && unloaded && failedOpenings == 0 && judge.Clean();
  PrintLine(clean ? L"soak: clean" : L"soak: FAILED");
  return clean ? 0 : 1;
}
