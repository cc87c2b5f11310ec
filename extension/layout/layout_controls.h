// The Layout page's controls as the page logic uses them. Every list entry
// carries the option it stands for, so a list with an option left out
// still reads back the right option.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "layout_lists.h"
#include "oem_interfaces.h"

// Rebuilds list `control` from `source`: plain combo boxes or, for the
// lists with pictures, ComboBoxEx controls. Texts come from the module's
// string table through the driver's heap; an entry whose text cannot be
// allocated is left out.
void FillList(HWND page, int control, LayoutList list, const ListSource& source,
              const OEMCUIPPARAM* param);

// Selects the entry of `option`; no entry is selected when the list lacks it.
void SelectOption(HWND page, int control, LONG option);

// FillList, then SelectOption.
void ShowList(HWND page, int control, LayoutList list, const ListSource& source,
              const OEMCUIPPARAM* param, LONG option);

// The option of the selected entry, or -1 when none is selected.
LONG SelectedOption(HWND page, int control);

void EnableControls(HWND page, std::initializer_list<int> controls, bool enable);
// Enables or disables one control, where it is not so already.
void SetEnabled(HWND control, bool enable);
void SetChecked(HWND page, int control, bool checked);
bool IsChecked(HWND page, int control);

// A label's localized text; with no buffer from the heap it keeps its text.
void SetLocalizedLabel(HWND page, int control, WORD stringId, const OEMCUIPPARAM* param);

// The sheet's Apply button comes on, and the preview follows (it alone
// is repainted: the controls repaint themselves where they change).
void MarkChangedAndRepaint(HWND page);
void MarkChanged(HWND page);
