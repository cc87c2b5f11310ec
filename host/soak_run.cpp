#include "soak_run.h"

#include <windows.h>
#include <psapi.h>

#include "plugin_library.h"
#include "resource_ledger.h"
#include "sheet_session.h"
#include "utf8_output.h"

namespace {

constexpr unsigned kSteadyOpening = 100;  // growth is measured from here on

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

// Wine 8 answers 0 for PrivateUsage, the handle count and the GUI resource
// counts; PagefileUsage (the process's committed private memory) is filled.
SIZE_T PagefileUsage() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PagefileUsage;
}

void PrintMemory(const wchar_t* when, SIZE_T bytes) {
  PrintLine(Format(L"PagefileUsage %-22ls %12llu bytes", when,
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

}  // namespace

int RunSoak(const HostOptions& given) {
  HostOptions options = given;
  if (options.script.empty()) options.scriptText = kDefaultScript;
  options.settleMilliseconds = 0;
  options.quiet = true;

  const SIZE_T before = PagefileUsage();
  SIZE_T first = 0, steady = 0;
  unsigned failedOpenings = 0;
  bool unloaded = true;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  PluginLibrary library;
  for (unsigned opening = 1; opening <= options.count; ++opening) {
    if ((opening - 1) % options.openingsPerLoad == 0) {
      if (opening > 1 && !Unload(&library)) unloaded = false;
      if (!library.Load(options, &LedgerAttach)) return 1;
    }
    if (!OpenOnce(options, &library)) ++failedOpenings;
    if (opening == 1) first = PagefileUsage();
    if (opening == kSteadyOpening || (options.count < kSteadyOpening && opening == 1))
      steady = PagefileUsage();
    if (opening % 100 == 0)
      PrintLine(Format(L"opening %u done", opening));
  }
  if (!Unload(&library)) unloaded = false;
  QueryPerformanceCounter(&end);
  const SIZE_T last = PagefileUsage();

  std::wstring ledger;
  const bool balanced = LedgerReport(&ledger);
  PrintLine(Format(L"soak: %u openings, %u not closed with OK", options.count, failedOpenings));
  PrintLine(ledger.substr(0, ledger.size() - 1));
  PrintMemory(L"before", before);
  PrintMemory(L"after opening 1", first);
  if (options.count >= kSteadyOpening)
    PrintMemory(Format(L"after opening %u", kSteadyOpening).c_str(), steady);
  PrintMemory(Format(L"after opening %u", options.count).c_str(), last);
  const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart);
  PrintLine(Format(L"average opening: %.1f ms", 1000.0 * seconds / options.count));

  // Growth beyond 1% of the steady figure is a leak the ledger could not see.
  const bool grew = last > steady + steady / 100;
  if (grew) PrintLine(L"soak: PagefileUsage grew by more than 1% after the steady opening");
  if (!balanced) PrintLine(L"soak: the ledger is not balanced");
  if (!unloaded) PrintLine(L"soak: DllCanUnloadNow refused an unload");
  if (failedOpenings != 0) PrintLine(L"soak: some openings did not close with OK");
  const bool clean = balanced && !grew && unloaded && failedOpenings == 0;
  PrintLine(clean ? L"soak: clean" : L"soak: FAILED");
  return clean ? 0 : 1;
}
