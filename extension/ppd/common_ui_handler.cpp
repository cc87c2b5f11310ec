#include "common_ui_handler.h"

// The settings trees are left as the driver built them for now.
HRESULT HandleCommonUIProp(DWORD, POEMCUIPPARAM, UiContext*) { return S_OK; }
