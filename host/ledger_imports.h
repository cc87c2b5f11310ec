// What the resource ledger knows of the functions a plug-in imports or
// looks up: those it redirects to count what they take and give back, and
// those it lets through because they take nothing, each with the reason in
// one word. A function on neither list is one the ledger cannot vouch for.
#pragma once

#include <vector>

struct Redirection {
  const char* dll;       // lower case
  const char* function;
  void* wrapper;         // the ledger's function with the same signature
  // For functions the host does not import itself: where the wrapper finds
  // the system's function, set from the slot or the lookup it replaces.
  // Null for the others, whose wrappers call the host's own import.
  void** real;
};

struct HarmlessImport {
  const char* dll;
  const char* function;
  const char* reason;
};

// Every redirection of the ledger, for the width it was built for.
const std::vector<Redirection>& LedgerRedirections();
// The redirection of `function` from `dll` (compared without case), or null.
const Redirection* FindRedirection(const char* dll, const char* function);
// The reason `function` of `dll` takes nothing, or null when it is not on
// the list.
const char* HarmlessReason(const char* dll, const char* function);

// Whether `name` ("COMCTL32.dll", "msimg32.dll", without a folder) is one of
// the few system libraries a plug-in may load or import: the ledger counts
// only the plug-in's own imports and lookups, so what a library of any
// other name takes at its start-up or on the plug-in's behalf is not seen.
bool IsListedSystemLibrary(const char* name);

// Each file of redirected functions adds its own.
void AppendGdiRedirections(std::vector<Redirection>* redirections);
void AppendUserRedirections(std::vector<Redirection>* redirections);
void AppendKernelRedirections(std::vector<Redirection>* redirections);
void AppendRuntimeRedirections(std::vector<Redirection>* redirections);
void AppendLookupRedirections(std::vector<Redirection>* redirections);
