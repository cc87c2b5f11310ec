// A lock for the library's small tables of what its pages keep. Sheets
// of different threads may share the library; each table is held for a
// few copies at a time, and the oldest systems have no slim lock.
#pragma once

#include <windows.h>

class TableLock {
 public:
  // `busy` is the table's own flag: 0 when free.
  explicit TableLock(LONG* busy) : busy_(busy) {
    while (InterlockedCompareExchange(busy_, 1, 0) != 0) Sleep(0);
  }
  ~TableLock() { InterlockedExchange(busy_, 0); }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  LONG* busy_;
};
