// Where an opening of the printing preferences spends its time, seen from
// the driver's side: the host's calls into the plug-in, the messages the
// plug-in's pages get (creation, showing, painting) and the script's apply
// and close. One probe is active at a time; with none, the host measures
// nothing and behaves as before.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

enum class OpeningPhase {
  kHostModel,       // the host's own model of the PPD, read as the plug-in reads it
  kHostTree,        // the host's settings tree and its reading of the constraints
  kHostMarks,       // the host marking the options the constraints rule out, at each change
  kObjectAndBlock,  // the object made, told the helper interface, its block sized and merged
  kModelBuild,      // the first CommonUIProp call: the plug-in builds its model of the PPD
  kHandler,         // the second CommonUIProp call: the plug-in adjusts the driver's items
  kPagesAdded,      // DocumentPropertySheets: the plug-in hands its pages to the sheet
  kSheetMade,       // the sheet's window with its first page
  kPageCreation,    // WM_INITDIALOG of the plug-in's pages
  kShowing,         // WM_SHOWWINDOW of the plug-in's pages (where lists are refilled)
  kPaints,          // WM_PAINT of the plug-in's pages and of their controls
  kSteps,           // the script's steps but apply and OK, creation, showing and paints in them included
  kApply,           // the Apply button pressed, until the queue is empty
  kClose,           // the OK button pressed, until the sheet is gone
  kRelease,         // the sheet destroyed, the object released, the heap destroyed
  kCount,
  kNone = kCount  // timed nowhere
};

const wchar_t* OpeningPhaseName(OpeningPhase phase);

class OpeningProbe {
 public:
  // Watches the plug-in whose pages come from `module`.
  explicit OpeningProbe(HMODULE module);
  ~OpeningProbe();
  OpeningProbe(const OpeningProbe&) = delete;
  OpeningProbe& operator=(const OpeningProbe&) = delete;

  // The probe the host reports to, or null.
  static OpeningProbe* Active();

  void Add(OpeningPhase phase, LONGLONG ticks);
  unsigned Paints() const { return paints_; }
  // Paints by the control's id (the page itself under 0).
  const std::map<int, unsigned>& PaintsById() const { return paintsById_; }
  // Seconds spent in each phase, in the order of OpeningPhase.
  std::vector<double> Seconds() const;

  // Called by the host's message loop around a dispatch.
  void BeforeDispatch(const MSG& message);
  void AfterDispatch(const MSG& message);

 private:
  static LRESULT CALLBACK CallHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ReturnHook(int code, WPARAM wParam, LPARAM lParam);
  bool IsPluginPageOrChild(HWND window) const;
  void Began(HWND window, UINT message, const PROPSHEETPAGEW* record);
  void Ended(HWND window, UINT message);

  struct Open {
    HWND window;
    UINT message;
    LONGLONG start;
  };

  HMODULE module_;
  HHOOK callHook_ = nullptr;
  HHOOK returnHook_ = nullptr;
  std::vector<HWND> pages_;
  std::vector<Open> open_;
  LONGLONG paintStart_ = 0;
  bool painting_ = false;
  unsigned paints_ = 0;
  std::map<int, unsigned> paintsById_;
  LONGLONG ticks_[static_cast<int>(OpeningPhase::kCount)] = {};
};

// Times the scope into a phase of the active probe, if there is one.
class PhaseTimer {
 public:
  explicit PhaseTimer(OpeningPhase phase);
  ~PhaseTimer();
  PhaseTimer(const PhaseTimer&) = delete;
  PhaseTimer& operator=(const PhaseTimer&) = delete;

 private:
  OpeningPhase phase_;
  LONGLONG start_ = 0;
};
