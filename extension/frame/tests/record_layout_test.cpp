// The byte layout of every record we declare ourselves, and of the platform
// records whose sizes the driver relies on, at the width of this build.
#include <gtest/gtest.h>

#include <cstddef>

#include "oem_interfaces.h"
#include "private_devmode.h"
#include "ui_context.h"

namespace {

constexpr bool kIs64 = sizeof(void*) == 8;
constexpr size_t P(size_t x86, size_t x64) { return kIs64 ? x64 : x86; }

#define EXPECT_FIELD(type, field, x86, x64) \
  EXPECT_EQ(offsetof(type, field), P(x86, x64)) << #type "." #field

TEST(RecordLayout, OemDmExtraHeaderMatchesThePrivateBlockHeader) {
  EXPECT_EQ(sizeof(OEM_DMEXTRAHEADER), 12u);
  EXPECT_EQ(sizeof(OEM_DMEXTRAHEADER), sizeof(PrivateDevmodeHeader));
  EXPECT_FIELD(OEM_DMEXTRAHEADER, dwSignature, 4, 4);
  EXPECT_FIELD(OEM_DMEXTRAHEADER, dwVersion, 8, 8);
  EXPECT_EQ(sizeof(PrivateDevmode), 176u);
}

TEST(RecordLayout, OemDmParam) {
  EXPECT_EQ(sizeof(OEMDMPARAM), P(36, 72));
  EXPECT_FIELD(OEMDMPARAM, pdriverobj, 4, 8);
  EXPECT_FIELD(OEMDMPARAM, hPrinter, 8, 16);
  EXPECT_FIELD(OEMDMPARAM, hModule, 12, 24);
  EXPECT_FIELD(OEMDMPARAM, pPublicDMIn, 16, 32);
  EXPECT_FIELD(OEMDMPARAM, pPublicDMOut, 20, 40);
  EXPECT_FIELD(OEMDMPARAM, pOEMDMIn, 24, 48);
  EXPECT_FIELD(OEMDMPARAM, pOEMDMOut, 28, 56);
  EXPECT_FIELD(OEMDMPARAM, cbBufSize, 32, 64);
}

TEST(RecordLayout, OemCuipParam) {
  EXPECT_EQ(sizeof(OEMCUIPPARAM), P(60, 120));
  EXPECT_FIELD(OEMCUIPPARAM, poemuiobj, 4, 8);
  EXPECT_FIELD(OEMCUIPPARAM, hPrinter, 8, 16);
  EXPECT_FIELD(OEMCUIPPARAM, pPrinterName, 12, 24);
  EXPECT_FIELD(OEMCUIPPARAM, hModule, 16, 32);
  EXPECT_FIELD(OEMCUIPPARAM, hOEMHeap, 20, 40);
  EXPECT_FIELD(OEMCUIPPARAM, pPublicDM, 24, 48);
  EXPECT_FIELD(OEMCUIPPARAM, pOEMDM, 28, 56);
  EXPECT_FIELD(OEMCUIPPARAM, dwFlags, 32, 64);
  EXPECT_FIELD(OEMCUIPPARAM, pDrvOptItems, 36, 72);
  EXPECT_FIELD(OEMCUIPPARAM, cDrvOptItems, 40, 80);
  EXPECT_FIELD(OEMCUIPPARAM, pOEMOptItems, 44, 88);
  EXPECT_FIELD(OEMCUIPPARAM, cOEMOptItems, 48, 96);
  EXPECT_FIELD(OEMCUIPPARAM, pOEMUserData, 52, 104);
  EXPECT_FIELD(OEMCUIPPARAM, OEMCUIPCallback, 56, 112);
}

TEST(RecordLayout, OemUiObjAndProcs) {
  EXPECT_EQ(sizeof(OEMUIOBJ), P(8, 16));
  EXPECT_FIELD(OEMUIOBJ, pOemUIProcs, 4, 8);
  EXPECT_EQ(sizeof(OEMUIPROCS), P(8, 16));
  EXPECT_FIELD(OEMUIPROCS, DrvUpdateUISetting, 4, 8);
}

TEST(RecordLayout, PostScriptUserData) {
  EXPECT_EQ(sizeof(USERDATA), P(44, 56));
  EXPECT_FIELD(USERDATA, dwItemID, 4, 8);
  EXPECT_FIELD(USERDATA, pKeyWordName, 8, 16);
  EXPECT_FIELD(USERDATA, dwReserved, 12, 24);
}

TEST(RecordLayout, DevQueryPrintInfo) {
  EXPECT_EQ(sizeof(DEVQUERYPRINT_INFO), P(24, 40));
  EXPECT_FIELD(DEVQUERYPRINT_INFO, hPrinter, 4, 8);
  EXPECT_FIELD(DEVQUERYPRINT_INFO, pDevMode, 8, 16);
  EXPECT_FIELD(DEVQUERYPRINT_INFO, pszErrorStr, 12, 24);
  EXPECT_FIELD(DEVQUERYPRINT_INFO, cchErrorStr, 16, 32);
  EXPECT_FIELD(DEVQUERYPRINT_INFO, cchNeeded, 20, 36);
}

TEST(RecordLayout, UiContextFieldsInOrder) {
  EXPECT_EQ(sizeof(UiContext), P(32, 64));
  EXPECT_FIELD(UiContext, pPpdModel, 0, 0);
  EXPECT_FIELD(UiContext, hComPropSheet, 4, 8);
  EXPECT_FIELD(UiContext, hJobSettingsPage, 8, 16);
  EXPECT_FIELD(UiContext, pOemCUIPParam, 12, 24);
  EXPECT_FIELD(UiContext, pfnComPropSheet, 16, 32);
  EXPECT_FIELD(UiContext, pOemDriverUI, 20, 40);
  EXPECT_FIELD(UiContext, bLegacySystem, 24, 48);
  EXPECT_FIELD(UiContext, hLayoutPage, 28, 56);
}

TEST(RecordLayout, PropertyPageRecordsOfBothVariants) {
  // The XP variant passes the record ending with hActCtx, the other the one
  // ending with hbmHeader.
  EXPECT_EQ(sizeof(PROPSHEETPAGEW_V3), P(52, 96));
  EXPECT_EQ(sizeof(PROPSHEETPAGEW_V4), P(56, 104));
  EXPECT_EQ(offsetof(PROPSHEETPAGEW_V4, hActCtx), offsetof(PROPSHEETPAGEW_V3, hActCtx));
  EXPECT_FIELD(PROPSHEETPAGEW_V4, pszTitle, 20, 32);
  EXPECT_FIELD(PROPSHEETPAGEW_V4, pfnDlgProc, 24, 40);
  EXPECT_FIELD(PROPSHEETPAGEW_V4, lParam, 28, 48);
  EXPECT_FIELD(PROPSHEETPAGEW_V4, hActCtx, 48, 88);
  EXPECT_FIELD(PROPSHEETPAGEW_V4, hbmHeader, 52, 96);
}

TEST(RecordLayout, SystemRecordsOfFixedSize) {
  EXPECT_EQ(sizeof(OSVERSIONINFOEXW), 284u);
  // The activation-context request carries its own size: 32 bytes only at x86.
  EXPECT_EQ(sizeof(ACTCTXW), P(32, 56));
}

}  // namespace
