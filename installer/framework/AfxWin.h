// The installer's application framework in one include.
#pragma once

#include "Dialog.h"
#include "ListCtrl.h"
#include "StdioFile.h"
#include "WinApp.h"
#include "Wnd.h"
