// The extension's private block inside the driver's device mode: the
// settings of password-protected printing.
//
// The block is persisted with device modes and print jobs and travels
// between processes of either processor width, so its layout is fixed to the
// byte: 176 bytes, little-endian, no padding, no pointer-sized field.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "The private block is stored little-endian; this target is not."
#endif

constexpr uint32_t kPluginSignature = 0x5A515053;  // reads "ZQPS" from the top byte down
constexpr uint32_t kPrivateDevmodeSize = 176;
constexpr uint32_t kPrivateDevmodeVersion = 2;

constexpr uint32_t JOBTYPE_NORMAL = 0;
constexpr uint32_t JOBTYPE_CONFIDENTIAL = 4;

constexpr size_t kUserNameUnits = 32;
constexpr size_t kJobNameUnits = 32;
constexpr size_t kPasswordUnits = 10;

// The three fields every plug-in block of the driver begins with.
struct PrivateDevmodeHeader {
  uint32_t dwSize;
  uint32_t dwSignature;
  uint32_t dwVersion;
};

struct PrivateDevmode {
  PrivateDevmodeHeader dmExtraHeader;
  uint32_t dwReserved1;  // written with the defaults and carried by merges
  uint32_t dwReserved2;
  uint32_t dwReserved3;
  uint32_t dwJobType;  // JOBTYPE_NORMAL or JOBTYPE_CONFIDENTIAL
  char16_t szUserName[kUserNameUnits];
  char16_t szJobName[kJobNameUnits];
  char16_t szPassword[kPasswordUnits];
};

static_assert(sizeof(PrivateDevmode) == kPrivateDevmodeSize, "block size");
static_assert(offsetof(PrivateDevmode, dwReserved1) == 12, "layout");
static_assert(offsetof(PrivateDevmode, dwJobType) == 24, "layout");
static_assert(offsetof(PrivateDevmode, szUserName) == 28, "layout");
static_assert(offsetof(PrivateDevmode, szJobName) == 92, "layout");
static_assert(offsetof(PrivateDevmode, szPassword) == 156, "layout");

// Writes the default block (no password printing, empty texts). A null
// block is ignored.
void SetDefaultPrivateDevmode(PrivateDevmode* block);

// Carries the source block over into the destination. A block with another
// signature is foreign: the destination becomes the defaults. Otherwise the
// source's bytes are copied up to the smaller of the two sizes (at most the
// whole block) and the destination is stamped with the current size and
// version. Returns false, changing nothing, when either pointer is null.
// Source and destination may be the same block.
bool MergePrivateDevmode(const PrivateDevmode* source, PrivateDevmode* destination);
