// The second call's work on the driver's device settings tree.
#pragma once

#include "../frame/ui_context.h"

// Hides the driver's item 64798 with its subtree and makes the item 400 the
// one selected first.
void AdjustDeviceTree(POEMCUIPPARAM param);
