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
//   screenshot FILE     save the sheet as a bitmap in the screenshot folder
//   print TEXT          echo TEXT
// Blank lines and lines starting with # are skipped. Message boxes are
// answered with OK and their texts printed.
#pragma once

#include <string>

class SheetSession;

// True when the script closed the sheet with OK.
bool RunScript(SheetSession* session, const std::wstring& path);
// The same with the script's text itself.
bool RunScriptText(SheetSession* session, const std::wstring& script);
