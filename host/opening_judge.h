// The soak's judge of what the plug-in keeps from one opening to the next
// within a load of its library: a reading of each row (a kind's live
// count, the bytes of a heap, the blocks left on the driver's heap, the
// references left on the driver's helper interface) at the end of every
// opening. A row that may change with the way the sheet was left settles
// over the first openings of each load; after them it must never read
// more than it read at its highest in those openings. A row that has an
// expected value must read it at every opening. The first fault of each
// row is kept, with the opening where it was seen.
#pragma once

#include <string>
#include <vector>

enum class OpeningRule {
  kNoRise,   // never above the highest of the settling openings
  kExactly,  // the expected value at every opening
};

struct OpeningRow {
  std::wstring name;
  OpeningRule rule;
  long long expected;  // for kExactly
};

class OpeningJudge {
 public:
  // `settling` openings of each load are not judged by kNoRise.
  OpeningJudge(std::vector<OpeningRow> rows, unsigned settling);

  // The library was loaded again: its rows settle anew.
  void StartLoad();
  // The readings of opening `opening` (counted over the whole run), one a
  // row in the order the rows were given.
  void After(unsigned opening, const std::vector<long long>& readings);

  bool Clean() const { return faults_.empty(); }
  // "per opening: NAME: ..." for the first fault of each row that has one.
  const std::vector<std::wstring>& Faults() const { return faults_; }
  // The table: each row's readings at the first openings, at the last
  // one, its highest after the settling openings of any load and its
  // verdict, each line indented by four spaces. Rows without an expected
  // value that read 0 throughout are left out.
  std::wstring Table() const;

 private:
  struct Track {
    long long settledHigh = 0;  // the highest of this load's settling openings
    long long highAfter = 0;    // the highest after any load's settling openings
    bool judgedAny = false;
    bool nonZero = false;
    bool faulted = false;
    std::vector<long long> first;  // readings of the first openings of the run
    long long last = 0;
  };

  void Fault(size_t row, const std::wstring& why);

  std::vector<OpeningRow> rows_;
  std::vector<Track> tracks_;
  unsigned settling_;
  unsigned inLoad_ = 0;  // openings of this load so far
  unsigned lastOpening_ = 0;
  std::vector<std::wstring> faults_;
};
