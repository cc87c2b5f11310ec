// The PPD features of our printer family that the extension knows, with the
// string resource of each one's display name.
#pragma once

#include <cstdint>

struct KnownFeature {
  uint32_t dmPubId;
  uint32_t featureId;
  uint32_t nameId;
  const char16_t* keyword;
};

// 28 rows, then an end row whose featureId is 0.
extern const KnownFeature KnownFeatureTable[29];

struct KnownFeatureName {
  uint32_t featureId;
  char16_t szName[256];
};

// The row found by DMPub id, or, for an id of 0, by keyword (exact); null
// when none matches. A row with a DMPub id is found only by that id.
const KnownFeature* FindKnownFeature(const char16_t* keyword, uint32_t dmPubId);

// The keyword of the first row with `featureId`, or null (0 gives null).
const char16_t* KnownFeatureKeyword(uint32_t featureId);
