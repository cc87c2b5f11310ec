// Runs a script of user steps against the shown sheet, one step a line:
//   page N              make page N current (0 is the driver's page)
//   click ID            click a button of the current page; a disabled
//                       button only has its notice sent to the page, as
//                       automation tools can
//   describe ID         print a control of the current page: enabled or
//                       not, a list's entries, a button's check
//   type ID TEXT        type TEXT into an edit field, key by key
//   settext ID TEXT     set a control's text at once
//   choose ID INDEX     choose entry INDEX of a list
//   item INDEX NAME     choose option INDEX of the driver's item NAME
//   properties          open the printer's properties as well: the device
//                       settings, with a plug-in object of their own
//   apply | ok | cancel press that button of the sheet
//   close               close the sheet with its close box
//   path NAME           starts one way through the sheet (see ScriptPaths)
//   screenshot FILE     save the sheet as a bitmap in the screenshot folder
//   print TEXT          echo TEXT
// Blank lines and lines starting with # are skipped. Message boxes are
// answered with OK and their texts printed.
#pragma once

#include <string>

class SheetSession;

#include <vector>

enum class ScriptEnd {
  kClosedWithOk,
  kClosedOtherwise,  // Cancel or the close box
  kLeftOpen,         // every step done, the sheet still open
  kStepFailed,       // a step could not be done
};

// Runs the steps; how the sheet ended.
ScriptEnd RunScript(SheetSession* session, const std::wstring& path);
// The same with the script's text itself.
ScriptEnd RunScriptText(SheetSession* session, const std::wstring& script);

// A script's text, from its file (empty when it cannot be read).
std::wstring ReadScriptFile(const std::wstring& path);

// One way through the sheet: the script's steps before its first "path"
// line, then the steps of one "path NAME" line up to the next.
struct ScriptPath {
  std::wstring name;
  std::wstring steps;
};
// The ways through the sheet a script offers: one for each "path" line,
// or the whole script as one named "script" when it has none.
std::vector<ScriptPath> ScriptPaths(const std::wstring& script);
