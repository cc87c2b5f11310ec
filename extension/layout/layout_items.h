// The driver's settings items as the Layout page reads and writes them.
// The page keeps no settings of its own: everything it shows lives in the
// driver's OPTITEM records, found by their public item id.
#pragma once

#include <cstdint>

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

// The one driver call of the page: the item changed.
void ReportItemToDriver(const UiContext* context, OPTITEM* item);
