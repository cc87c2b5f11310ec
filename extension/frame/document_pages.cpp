#include "document_pages.h"

// The pages come with the property-page work; until then the driver's sheet
// shows its own pages only.
HRESULT AddDocumentPages(PPROPSHEETUI_INFO, LPARAM, UiContext*) { return S_OK; }
