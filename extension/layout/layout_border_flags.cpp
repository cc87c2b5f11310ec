#include "layout_border_flags.h"

bool g_bordersDefaulted = false;
bool g_bordersSettled = false;
