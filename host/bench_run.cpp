#include "bench_run.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "opening_probe.h"
#include "plugin_library.h"
#include "script_runner.h"
#include "sheet_session.h"
#include "soak_run.h"
#include "utf8_output.h"

namespace {

// Openings of each plug-in before any is measured: the first builds of
// the system's caches and classes are no part of an opening.
constexpr unsigned kWarmUpRounds = 5;

struct Contender {
  std::wstring label;
  HostOptions options;
  PluginLibrary library;
  std::vector<double> totals;                  // ms, one per measured opening
  std::vector<std::vector<double>> phases;     // ms, phase by phase
  std::vector<unsigned> paints;
  std::map<int, unsigned> paintsById;  // over all measured openings
  unsigned failed = 0;
};

double Milliseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void OpenOnce(Contender* contender, bool measured) {
  OpeningProbe probe(contender->library.Module());
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  bool accepted = false;
  {
    SheetSession session(contender->options, &contender->library);
    accepted = session.Open() && session.Show() == 1;
  }
  QueryPerformanceCounter(&end);
  if (!accepted) ++contender->failed;
  if (!measured) return;
  contender->totals.push_back(Milliseconds(end.QuadPart - start.QuadPart));
  const std::vector<double> seconds = probe.Seconds();
  contender->phases.resize(seconds.size());
  for (size_t i = 0; i < seconds.size(); ++i) contender->phases[i].push_back(1000.0 * seconds[i]);
  contender->paints.push_back(probe.Paints());
  for (const auto& entry : probe.PaintsById()) contender->paintsById[entry.first] += entry.second;
}

std::wstring FileName(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

const wchar_t* Width() { return sizeof(void*) == 8 ? L"x64" : L"x86"; }

void PrintContender(const Contender& c) {
  std::vector<double> paints(c.paints.begin(), c.paints.end());
  PrintLine(Format(L"%ls: %.1f ms an opening (median of %u), %.1f paints of its pages an opening "
                   L"(median), %u not closed with OK",
                   c.label.c_str(), Median(c.totals), static_cast<unsigned>(c.totals.size()),
                   Median(paints), c.failed));
  for (size_t i = 0; i < c.phases.size(); ++i)
    PrintLine(Format(L"  %-40ls %8.2f ms", OpeningPhaseName(static_cast<OpeningPhase>(i)),
                     Median(c.phases[i])));
  std::wstring byId;
  for (const auto& entry : c.paintsById)
    byId += Format(L" %d:%.1f", entry.first,
                   static_cast<double>(entry.second) / static_cast<double>(c.totals.size()));
  if (!byId.empty()) PrintLine(L"  paints an opening by control id (0: the page):" + byId);
}

const Contender* Labelled(const std::vector<std::unique_ptr<Contender>>& all, const wchar_t* label) {
  for (const auto& c : all)
    if (c->label == label) return c.get();
  return nullptr;
}

// The verdict line, when both baselines ran.
void PrintVerdict(const std::vector<std::unique_ptr<Contender>>& all, const std::wstring& ppd) {
  const Contender* korvain = Labelled(all, L"korvain");
  const Contender* same = Labelled(all, L"same-controls");
  const Contender* nothing = Labelled(all, L"nothing");
  if (korvain == nullptr || same == nullptr || nothing == nullptr) {
    PrintLine(L"bench: no verdict line: it takes the plug-ins korvain, same-controls and nothing");
    return;
  }
  const double k = Median(korvain->totals), s = Median(same->totals), n = Median(nothing->totals);
  PrintLine(Format(L"opening %ls %ls: korvain %.1f ms, same-controls %.1f ms, nothing %.1f ms, "
                   L"ratio korvain/same-controls %.2f, ratio korvain/nothing %.2f",
                   FileName(ppd).c_str(), Width(), k, s, n, s > 0 ? k / s : 0.0,
                   n > 0 ? k / n : 0.0));
}

}  // namespace

int RunBench(const HostOptions& given) {
  HostOptions options = given;
  // One way through the sheet for every opening and every plug-in: the
  // script's first (the default script's is Apply then OK).
  const std::wstring script =
      options.script.empty() ? std::wstring(DefaultOpeningScript()) : ReadScriptFile(options.script);
  options.script.clear();
  options.scriptText = ScriptPaths(script).front().steps;
  options.settleMilliseconds = 0;
  options.quiet = true;

  std::vector<std::unique_ptr<Contender>> all;
  auto add = [&](const std::wstring& label, const std::wstring& library) {
    auto contender = std::make_unique<Contender>();
    contender->label = label;
    contender->options = options;
    contender->options.plugin = library;
    all.push_back(std::move(contender));
  };
  add(L"korvain", options.plugin);
  for (const auto& compared : options.compared) add(compared.first, compared.second);
  for (auto& c : all)
    if (!c->library.Load(c->options)) return 1;

  // In turn, each round starting with the next plug-in, so that none always
  // follows the same one.
  const unsigned rounds = kWarmUpRounds + options.count;
  for (unsigned round = 0; round < rounds; ++round)
    for (size_t i = 0; i < all.size(); ++i)
      OpenOnce(all[(round + i) % all.size()].get(), round >= kWarmUpRounds);

  PrintLine(Format(L"bench: %u openings of each plug-in after %u of each unmeasured, with %ls",
                   options.count, kWarmUpRounds, FileName(options.ppd).c_str()));
  bool clean = true;
  for (auto& c : all) {
    PrintContender(*c);
    if (c->failed != 0) clean = false;
    const HRESULT unloaded = c->library.Unload();
    if (unloaded != S_OK) {
      PrintLine(c->label + L": DllCanUnloadNow: " + ResultText(unloaded));
      clean = false;
    }
  }
  PrintVerdict(all, options.ppd);
  if (!clean) PrintLine(L"bench: FAILED: an opening did not close with OK or a library stayed");
  return clean ? 0 : 1;
}
