#include "resource_ledger.h"

#include <cstring>
#include <cwchar>
#include <unordered_set>

#include "import_patch.h"
#include "ledger_imports.h"
#include "ledger_state.h"
#include "loader_watch.h"
#include "utf8_output.h"

namespace {

// What the latest attachment found; written under the loader's lock.
struct Attachment {
  std::vector<std::wstring> unwritable;   // slots whose page could not be made writable
  std::vector<std::wstring> notImported;  // redirections of functions the library does not import
};

Attachment& TheAttachment() {
  static Attachment* attachment = new Attachment;  // lives as long as the process
  return *attachment;
}

std::wstring Wide(const char* text) { return std::wstring(text, text + std::strlen(text)); }

std::wstring SlotName(const ImportSlot& import) {
  const std::wstring function = import.function != nullptr
                                    ? Wide(import.function)
                                    : Format(L"#%u", static_cast<unsigned>(import.ordinal));
  return Wide(import.dll) + L"!" + function;
}

std::wstring Joined(const std::vector<std::wstring>& names) {
  std::wstring joined;
  for (const std::wstring& name : names) joined += (joined.empty() ? L"" : L", ") + name;
  return joined;
}

// The loader has mapped the library and bound its imports; its DllMain has
// not run yet.
void AttachTo(HMODULE module, SIZE_T size) {
  Ledger& ledger = TheLedger();
  ++ledger.loads;
  ledger.module = module;
  ledger.moduleStart = reinterpret_cast<const BYTE*>(module);
  ledger.moduleEnd = ledger.moduleStart + size;
  Attachment& attachment = TheAttachment();
  attachment.unwritable.clear();
  const std::vector<Redirection>& redirections = LedgerRedirections();
  std::vector<bool> imported(redirections.size(), false);
  ForEachImport(module, [&](const ImportSlot& import) {
    if (import.function == nullptr) return;
    const Redirection* redirection = FindRedirection(import.dll, import.function);
    if (redirection == nullptr) return;
    imported[redirection - redirections.data()] = true;
    if (redirection->real != nullptr) *redirection->real = *import.slot;
    if (!WriteImportSlot(import.slot, redirection->wrapper))
      attachment.unwritable.push_back(SlotName(import));
  });
  attachment.notImported.clear();
  for (size_t i = 0; i < redirections.size(); ++i) {
    if (!imported[i])
      attachment.notImported.push_back(Wide(redirections[i].dll) + L"!" +
                                       Wide(redirections[i].function));
  }
}

void DetachFrom(HMODULE module) {
  Ledger& ledger = TheLedger();
  if (module != ledger.module) return;
  ledger.module = nullptr;
  ledger.moduleStart = ledger.moduleEnd = nullptr;
}

// The system's own addresses of the functions the ledger counts through
// the host's imports: an import bound to one of them under another name
// (by ordinal, or through a library that forwards to it) escapes the
// ledger.
std::unordered_set<const void*> CountedAddresses() {
  std::unordered_set<const void*> addresses;
  for (const Redirection& redirection : LedgerRedirections()) {
    if (redirection.real != nullptr) continue;
    HMODULE library = GetModuleHandleA(redirection.dll);
    if (library == nullptr) continue;
    const FARPROC address = GetProcAddress(library, redirection.function);
    if (address != nullptr) addresses.insert(reinterpret_cast<const void*>(address));
  }
  return addresses;
}

bool SlotsHold(HMODULE module, std::wstring* problem) {
  const std::unordered_set<const void*> counted = CountedAddresses();
  std::vector<std::wstring> wrong;
  ForEachImport(module, [&](const ImportSlot& import) {
    const Redirection* redirection =
        import.function != nullptr ? FindRedirection(import.dll, import.function) : nullptr;
    if (redirection != nullptr) {
      if (*import.slot != redirection->wrapper) wrong.push_back(SlotName(import));
    } else if (counted.count(*import.slot) != 0) {
      wrong.push_back(SlotName(import) + L" (a counted function under another name)");
    }
  });
  if (wrong.empty()) return true;
  *problem = L"imports that do not reach the ledger: " + Joined(wrong);
  return false;
}

bool IsCommonControls(const void* module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(static_cast<HMODULE>(const_cast<void*>(module)), path, MAX_PATH);
  const wchar_t* name = std::wcsrchr(path, L'\\');
  return _wcsicmp(name != nullptr ? name + 1 : path, L"comctl32.dll") == 0;
}

}  // namespace

bool LedgerWatchLoad(const std::wstring& path, std::wstring* problem) {
  return WatchLibraryLoads(path, &AttachTo, &DetachFrom, problem);
}

bool LedgerConfirmAttached(HMODULE module, std::wstring* problem) {
  if (module != TheLedger().module) {
    *problem = L"the ledger did not see the library load (was it loaded already?)";
    return false;
  }
  if (!TheAttachment().unwritable.empty()) {
    *problem = L"import slots the ledger could not write: " + Joined(TheAttachment().unwritable);
    return false;
  }
  return SlotsHold(module, problem);
}

bool LedgerRedirectionsHold(std::wstring* problem) {
  HMODULE module = TheLedger().module;
  return module == nullptr || SlotsHold(module, problem);
}

std::vector<std::wstring> LedgerRedirectionsNotImported() { return TheAttachment().notImported; }

// What the library may keep across openings, once per load: the common
// controls library it loaded for its pages. Whatever else it still holds
// after it was freed is a leak.
void LedgerAfterUnload() {
  Ledger& ledger = TheLedger();
  if (ledger.module != nullptr) {
    ledger.problems.push_back(L"the library stayed loaded after it was freed");
    DetachFrom(ledger.module);
  }
  for (auto& library : ledger.libraries) {
    if (library.second <= 0 || !IsCommonControls(library.first)) continue;
    ledger.keptLibraries += static_cast<unsigned long long>(library.second);
    Line(LedgerKind::kLibrary).kept += static_cast<unsigned long long>(library.second);
    library.second = 0;
  }
}

void LedgerBeginOpening(HANDLE driverHeap) {
  TheLedger().driverHeap = driverHeap;
  WatchMessages();
}

void LedgerEndOpening() {
  Ledger& ledger = TheLedger();
  StopWatchingMessages();
  std::vector<const void*> freedWithHeap;
  for (const auto& held : ledger.held.In(HeldSpace::kMemory)) {
    if (held.second.kind == LedgerKind::kDriverHeap) freedWithHeap.push_back(held.first);
  }
  for (const void* block : freedWithHeap) {
    Release(HeldSpace::kMemory, block);
    ++ledger.releasedWithDriverHeap;
  }
  ledger.leftOnDriverHeap = freedWithHeap.size();
  EndWithGoneWindows();
  ledger.driverHeap = nullptr;
}

LedgerOpeningReading LedgerReadOpening() {
  const Ledger& ledger = TheLedger();
  LedgerOpeningReading reading;
  for (int i = 0; i < static_cast<int>(LedgerKind::kCount); ++i) {
    const LedgerLine& line = ledger.lines[i];
    reading.live[i] = static_cast<long long>(line.acquired) - static_cast<long long>(line.released) -
                      static_cast<long long>(line.kept);
  }
  reading.cHeapBytes = ledger.bytes[static_cast<int>(LedgerKind::kCHeap)];
  reading.otherHeapBytes = ledger.bytes[static_cast<int>(LedgerKind::kOtherHeap)];
  reading.leftOnDriverHeap = static_cast<long long>(ledger.leftOnDriverHeap);
  return reading;
}

const wchar_t* LedgerKindName(LedgerKind kind) {
  static const wchar_t* const names[] = {
      L"device contexts", L"bitmaps",          L"brushes",        L"pens",
      L"fonts",           L"regions",          L"left selected",  L"icons",
      L"menus",           L"windows",          L"subclassings",   L"window classes",
      L"timers",          L"hooks",            L"clipboard",      L"image lists",
      L"activation contexts", L"activations",  L"libraries",      L"driver's heap",
      L"other heaps",     L"global memory",    L"local memory",   L"files",
      L"kernel objects",  L"TLS slots",        L"critical sections", L"atoms",
      L"registry keys",   L"C heap",           L"C streams"};
  static_assert(sizeof names / sizeof names[0] == static_cast<int>(LedgerKind::kCount),
                "a name for every kind");
  return names[static_cast<int>(kind)];
}

LedgerLine LedgerLineOf(LedgerKind kind) { return Line(kind); }

bool LedgerReport(std::wstring* report) {
  const Ledger& ledger = TheLedger();
  bool balanced = true;
  report->clear();
  report->append(Format(L"resource ledger of the plug-in (%d loads of the library):\n",
                        ledger.loads));
  report->append(Format(L"  %-20ls %12ls %12ls %8ls\n", L"kind", L"acquired", L"released",
                        L"kept"));
  for (int i = 0; i < static_cast<int>(LedgerKind::kCount); ++i) {
    const auto kind = static_cast<LedgerKind>(i);
    const LedgerLine line = LedgerLineOf(kind);
    std::wstring note;
    if (!line.Balanced()) {
      note = L"  UNBALANCED";
      balanced = false;
    }
    if (line.kept > static_cast<unsigned long long>(ledger.loads)) {
      note += L"  KEPT MORE THAN ONCE PER LOAD";
      balanced = false;
    }
    if (kind == LedgerKind::kDriverHeap && ledger.releasedWithDriverHeap != 0)
      note += Format(L"  (%llu left for the driver to free with its heap: judged per opening)",
                     ledger.releasedWithDriverHeap);
    report->append(Format(L"  %-20ls %12llu %12llu %8llu%ls\n", LedgerKindName(kind),
                          line.acquired, line.released, line.kept, note.c_str()));
  }
  for (const std::wstring& name : ledger.unknownLookups) {
    report->append(L"  looked up at run time, neither counted nor known to take nothing: " +
                   name + L"\n");
    balanced = false;
  }
  static const wchar_t* const spaces[] = {
      L"GDI objects", L"USER objects", L"heap blocks", L"global or local memory",
      L"image lists", L"activation contexts", L"activations", L"libraries", L"kernel handles",
      L"C streams", L"window classes", L"atoms", L"registry keys", L"TLS slots",
      L"critical sections", L"the clipboard"};
  static_assert(sizeof spaces / sizeof spaces[0] == static_cast<int>(HeldSpace::kCount),
                "a name for every space");
  for (int i = 0; i < static_cast<int>(HeldSpace::kCount); ++i) {
    if (ledger.overReleased[i] == 0) continue;
    report->append(Format(L"  released what the plug-in does not hold: %ls %llu times\n",
                          spaces[i], ledger.overReleased[i]));
    balanced = false;
  }
  for (const std::wstring& name : ledger.outlivedSubclassings) {
    report->append(L"  a subclassing outlived the plug-in's page, on a window the plug-in did "
                   L"not create: class " + name + L"\n");
    balanced = false;
  }
  for (const std::wstring& name : ledger.unlistedLibraries) {
    report->append(L"  loaded a library that is not one of the listed system libraries, whose "
                   L"own work the ledger does not count: " + name + L"\n");
    balanced = false;
  }
  for (const std::wstring& problem : ledger.problems) {
    report->append(L"  " + problem + L"\n");
    balanced = false;
  }
  return balanced;
}
