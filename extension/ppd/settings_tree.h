// The second call's work on each of the driver's settings trees.
#pragma once

#include "../frame/ui_context.h"

// Document tree: hides the layout items the Layout page replaces (unless the
// system is a legacy one), the options the installed equipment rules out,
// and disables the colour-mode item while the colour item is at monochrome.
void AdjustDocumentTree(POEMCUIPPARAM param, const UiContext* context);

// Device tree: hides the driver's item 64798 with its subtree and makes the
// item 400 the one selected first.
void AdjustDeviceTree(POEMCUIPPARAM param);
