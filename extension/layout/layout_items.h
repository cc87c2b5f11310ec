// The driver's settings items as the Layout page reads and writes them.
// The page keeps no settings of its own: everything it shows lives in the
// driver's OPTITEM records, found by their public item id.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "layout_lists.h"
#include "preview_selection.h"
#include "ui_context.h"

// Published with Windows Vista; the XP builds' headers stop before them,
// yet an XP driver's tree may carry the items.
#ifndef DMPUB_NUP_DIRECTION
#define DMPUB_NUP_DIRECTION 18
#endif
#ifndef DMPUB_BOOKLET_EDGE
#define DMPUB_BOOKLET_EDGE 21
#endif

#ifdef KORVAIN_XP_VARIANT
constexpr LayoutVariant kLayoutVariant = LayoutVariant::kXp;
#else
constexpr LayoutVariant kLayoutVariant = LayoutVariant::kVistaAndLater;
#endif
constexpr bool kFullLayoutPage = kLayoutVariant == LayoutVariant::kVistaAndLater;

constexpr LONG kBookletOption = 6;  // of the pages-per-sheet item
constexpr LONG kTwoPagesOption = 1;
constexpr LONG kShortEdgeOption = 1;  // of the two-sided item

// The first item with `pubId`, or null; null or empty arrays have none.
OPTITEM* FindFirstItem(const OEMCUIPPARAM* param, BYTE pubId);

// Set when the driver has a page-order item: the page then offers the full
// page format (booklet, arrangement, binding edge, borders).
bool HasPageOrderItem(const OEMCUIPPARAM* param);

// The Sel of the first orientation item, 0 without one.
LONG OrientationOf(const OEMCUIPPARAM* param);

// What a list needs to know of `item` (its option count, selection and
// the options the driver marks with a warning).
ListSource ListSourceOf(const OPTITEM* item, LONG orientationSel);

// Whether the item's current option carries the driver's warning mark; an
// option outside the item's list counts as in conflict.
bool SelectionInConflict(const OPTITEM* item);

// Whether option `option` of `item` exists and carries no warning mark.
bool OptionAvailable(const OPTITEM* item, LONG option);

// Whether the driver has locked the item (OPTIF_DISABLED): the page then
// neither changes it nor reports it.
bool ItemLocked(const OPTITEM& item);

// Whether the page may offer booklet printing: the first pages-per-sheet
// item has the booklet option outside conflict, and a two-sided item, when
// there is one, is free to flip on the short edge as a booklet must.
bool BookletOffered(const OEMCUIPPARAM* param);

// Whether a pages-per-sheet item that holds booklet is locked: two-sided
// printing cannot then leave booklet.
bool BookletLocked(const OEMCUIPPARAM* param);

// The page's controls whose driver item is disabled, one bit per control
// from IDC_ORIENTATION_LABEL on. The borders box belongs to the
// pages-per-sheet item, whose flag it edits.
uint32_t LockedControls(const OEMCUIPPARAM* param);

// Enables or disables `controls`; a control in `locked` stays disabled.
void EnableItemControls(HWND page, uint32_t locked, std::initializer_list<int> controls,
                        bool enable);

// The one driver call of the page: the item changed.
void ReportItemToDriver(const UiContext* context, OPTITEM* item);
