#include "soak_run.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <vector>

#include "plugin_library.h"
#include "resource_ledger.h"
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
// Job Settings page, apply, and OK.
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
    L"apply\n"
    L"page 1\n"
    L"ok\n";

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

// One opening, as the driver runs it; false when it could not be made.
bool OpenOnce(const HostOptions& options, PluginLibrary* library) {
  SheetSession session(options, library);
  LedgerBeginOpening(session.PluginHeap());
  const bool opened = session.Open();
  const bool accepted = opened && session.Show() == 1;
  session.Close(&EndOpeningBeforeHeap);
  return accepted;
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
  if (options.script.empty()) options.scriptText = DefaultOpeningScript();
  options.settleMilliseconds = 0;
  options.quiet = true;

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
    }
    if (!OpenOnce(options, &library)) ++failedOpenings;
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
  PrintLine(Format(L"soak: %u openings, %u not closed with OK", options.count, failedOpenings));
  PrintLine(ledger.substr(0, ledger.size() - 1));
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
  if (failedOpenings != 0) PrintLine(L"soak: some openings did not close with OK");
  const bool clean = balanced && withinBound && unloaded && failedOpenings == 0;
  PrintLine(clean ? L"soak: clean" : L"soak: FAILED");
  return clean ? 0 : 1;
}
