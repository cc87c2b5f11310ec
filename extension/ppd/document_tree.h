// The second call's work on the driver's document settings tree.
#pragma once

#include "../frame/ui_context.h"

// Hides the layout items the Layout page replaces (unless the system is a
// legacy one), the options the installed equipment rules out, and disables
// the colour-mode item while the colour item is at monochrome.
void AdjustDocumentTree(POEMCUIPPARAM param, const UiContext* context);
