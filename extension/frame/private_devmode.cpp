#include "private_devmode.h"

#include <cstring>

namespace {

// Header fields are read through memcpy: blocks arrive from the driver (or a
// fuzzer) as plain bytes, with no promise of alignment.
uint32_t ReadHeaderField(const PrivateDevmode* block, size_t offset) {
  uint32_t value;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(block) + offset, sizeof value);
  return value;
}

void WriteHeaderField(PrivateDevmode* block, size_t offset, uint32_t value) {
  std::memcpy(reinterpret_cast<unsigned char*>(block) + offset, &value, sizeof value);
}

constexpr size_t kSizeOffset = offsetof(PrivateDevmodeHeader, dwSize);
constexpr size_t kSignatureOffset = offsetof(PrivateDevmodeHeader, dwSignature);
constexpr size_t kVersionOffset = offsetof(PrivateDevmodeHeader, dwVersion);

}  // namespace

void SetDefaultPrivateDevmode(PrivateDevmode* block) {
  if (block == nullptr) return;
  PrivateDevmode defaults{};
  defaults.dmExtraHeader.dwSize = kPrivateDevmodeSize;
  defaults.dmExtraHeader.dwSignature = kPluginSignature;
  defaults.dmExtraHeader.dwVersion = kPrivateDevmodeVersion;
  defaults.dwReserved1 = 1;
  defaults.dwJobType = JOBTYPE_NORMAL;
  std::memcpy(block, &defaults, sizeof defaults);
}

bool MergePrivateDevmode(const PrivateDevmode* source, PrivateDevmode* destination) {
  if (source == nullptr || destination == nullptr) return false;

  if (ReadHeaderField(source, kSignatureOffset) != ReadHeaderField(destination, kSignatureOffset)) {
    SetDefaultPrivateDevmode(destination);
    return true;
  }

  uint32_t count = ReadHeaderField(source, kSizeOffset);
  const uint32_t destinationSize = ReadHeaderField(destination, kSizeOffset);
  if (destinationSize < count) count = destinationSize;
  if (count > kPrivateDevmodeSize) count = kPrivateDevmodeSize;
  std::memmove(destination, source, count);

  WriteHeaderField(destination, kSizeOffset, kPrivateDevmodeSize);
  WriteHeaderField(destination, kVersionOffset, kPrivateDevmodeVersion);
  return true;
}
