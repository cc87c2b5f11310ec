#include "opening_judge.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace {

// Columns of the table for the run's first openings.
constexpr size_t kFirstColumns = 8;

std::wstring Number(long long value) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%lld", value);
  return text;
}

std::wstring Padded(const std::wstring& text, size_t width, bool left = false) {
  if (text.size() >= width) return text;
  const std::wstring pad(width - text.size(), L' ');
  return left ? text + pad : pad + text;
}

}  // namespace

OpeningJudge::OpeningJudge(std::vector<OpeningRow> rows, unsigned settling)
    : rows_(std::move(rows)), tracks_(rows_.size()), settling_(settling) {}

void OpeningJudge::StartLoad() { inLoad_ = 0; }

void OpeningJudge::Fault(size_t row, const std::wstring& why) {
  if (tracks_[row].faulted) return;
  tracks_[row].faulted = true;
  faults_.push_back(L"per opening: " + rows_[row].name + L": " + why);
}

void OpeningJudge::After(unsigned opening, const std::vector<long long>& readings) {
  ++inLoad_;
  lastOpening_ = opening;
  const bool settling = inLoad_ <= settling_;
  for (size_t row = 0; row < rows_.size() && row < readings.size(); ++row) {
    Track& track = tracks_[row];
    const long long value = readings[row];
    if (track.first.size() < kFirstColumns) track.first.push_back(value);
    track.last = value;
    if (value != 0) track.nonZero = true;
    if (rows_[row].rule == OpeningRule::kExactly) {
      if (value != rows_[row].expected)
        Fault(row, Number(value) + L" at opening " + Number(opening) + L", not the " +
                       Number(rows_[row].expected) + L" expected");
      continue;
    }
    if (settling) {
      track.settledHigh = inLoad_ == 1 ? value : std::max(track.settledHigh, value);
      continue;
    }
    track.highAfter = track.judgedAny ? std::max(track.highAfter, value) : value;
    track.judgedAny = true;
    if (value > track.settledHigh)
      Fault(row, Number(value) + L" at opening " + Number(opening) + L", above " +
                     Number(track.settledHigh) +
                     L", the highest of its load's settling openings");
  }
}

std::wstring OpeningJudge::Table() const {
  const size_t columns = tracks_.empty() ? 0 : tracks_[0].first.size();
  std::wstring table = L"    " + Padded(L"after opening", 36, true);
  for (size_t i = 0; i < columns; ++i) table += Padded(Number(static_cast<long long>(i + 1)), 8);
  table += Padded(L"last", 9) + Padded(L"highest", 9) + L"  rule\n";
  for (size_t row = 0; row < rows_.size(); ++row) {
    const Track& track = tracks_[row];
    const OpeningRow& given = rows_[row];
    const bool exact = given.rule == OpeningRule::kExactly;
    if (!exact && !track.nonZero && !track.faulted) continue;
    table += L"    " + Padded(given.name, 36, true);
    for (long long value : track.first) table += Padded(Number(value), 8);
    table += Padded(Number(track.last), 9);
    table += Padded(exact || !track.judgedAny ? L"-" : Number(track.highAfter), 9);
    table += exact ? L"  " + Number(given.expected) + L" at every opening"
                   : std::wstring(L"  no rise after settling");
    table += track.faulted ? L"  FAILED\n" : L"\n";
  }
  return table;
}
