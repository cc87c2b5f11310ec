// The extension's pages in the driver's document property sheet.
#pragma once

#include "ui_context.h"

// Answers one request of the property-sheet protocol for the document
// settings; at initialisation it adds the extension's pages.
HRESULT AddDocumentPages(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, UiContext* context);
