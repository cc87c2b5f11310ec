// The plug-in object's context record. The settings tree handler and the
// document property pages reach the driver, the strings and the settings
// through it; the pages get its address through their page records.
#pragma once

#include "oem_interfaces.h"

class PpdModel;

struct UiContext {
  PpdModel* pPpdModel;              // owned: destroyed with the object
  HANDLE hComPropSheet;             // the driver's property sheet
  HANDLE hJobSettingsPage;          // as the sheet returned it
  POEMCUIPPARAM pOemCUIPParam;      // the driver's record of the latest CommonUIProp
  PFNCOMPROPSHEET pfnComPropSheet;  // the sheet's service function
  IPrintOemDriverUI* pOemDriverUI;  // owned: one reference
  BOOL bLegacySystem;               // older than Windows XP with Service Pack 3
  HANDLE hLayoutPage;               // stored, never read again
};
