#include "known_feature_table.h"

const KnownFeature KnownFeatureTable[29] = {
    {4, 1, 10001, u"*InputSlot"},
    {5, 2, 10002, u"*Resolution"},
    {12, 3, 10003, u"*MediaType"},
    {9, 4, 10007, u"*PageSize"},
    {7, 5, 10025, u"*Duplex"},
    {0, 32, 10004, u"*InstalledMemory"},
    {0, 33, 10005, u"*ZQTrayUnit"},
    {0, 34, 10006, u"*ZQDuplexOption"},
    {0, 35, 10024, u"*ZQStackerOption"},
    {0, 36, 10028, u"*ZQCompactFlash"},
    {0, 64, 10008, u"*ZQScreens"},
    {0, 65, 10009, u"*ZQPureBlack"},
    {0, 66, 10010, u"*ZQSmovex"},
    {0, 67, 10011, u"*ZQToner"},
    {0, 68, 10012, u"*ZQImageProtect"},
    {0, 69, 10013, u"*ZQRendering"},
    {0, 70, 10014, u"*ZQPressSimulation"},
    {0, 71, 10017, u"*ZQCMYKMethod"},
    {0, 72, 10015, u"*ZQRGBSource"},
    {0, 73, 10016, u"*ZQRGBIntent"},
    {0, 74, 10018, u"*ZQSeparations"},
    {0, 75, 10019, u"*OutputBin"},
    {0, 76, 10020, u"*ZQDensity"},
    {0, 77, 10021, u"*ZQRotate180Degrees"},
    {0, 78, 10022, u"*ZQRotate90Degrees"},
    {0, 79, 10023, u"*ZQStartSide"},
    {0, 80, 10026, u"*ZQAutoMonoMode"},
    {0, 81, 10027, u"*ZQOUTPUTID"},
    {0, 0, 0, u""},
};

namespace {

bool SameKeyword(const char16_t* a, const char16_t* b) {
  for (;; ++a, ++b) {
    if (*a != *b) return false;
    if (*a == 0) return true;
  }
}

}  // namespace

const KnownFeature* FindKnownFeature(const char16_t* keyword, uint32_t dmPubId) {
  for (const KnownFeature* row = KnownFeatureTable; row->featureId != 0; ++row) {
    if (row->dmPubId != dmPubId) continue;
    if (dmPubId != 0 || (keyword != nullptr && SameKeyword(row->keyword, keyword))) return row;
  }
  return nullptr;
}

const char16_t* KnownFeatureKeyword(uint32_t featureId) {
  for (const KnownFeature* row = KnownFeatureTable; row->featureId != 0; ++row) {
    if (row->featureId == featureId) return row->keyword;
  }
  return nullptr;
}
