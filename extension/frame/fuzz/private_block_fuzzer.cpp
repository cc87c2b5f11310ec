// Fuzz target of the private block: the merge that the driver's convert and
// merge requests run, on any two 176-byte blocks (any size, signature and
// version in them, texts without terminators), and the Job Settings fields
// loaded from the result and stored back. Each block lives in a buffer of
// exactly its size, so the sanitizers catch any access beyond it; the
// target aborts on any result the merge does not promise.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "job_settings_fields.h"
#include "private_devmode.h"

namespace {

constexpr size_t kBlock = kPrivateDevmodeSize;

uint32_t ReadU32(const unsigned char* bytes, size_t offset) {
  uint32_t value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

void Require(bool promise) {
  if (!promise) std::abort();
}

// What the merge must leave in the destination.
void ExpectedMerge(const unsigned char* source, const unsigned char* destination,
                   unsigned char* expected) {
  if (ReadU32(source, 4) != ReadU32(destination, 4)) {
    PrivateDevmode defaults;
    SetDefaultPrivateDevmode(&defaults);
    std::memcpy(expected, &defaults, kBlock);
    return;
  }
  uint32_t n = ReadU32(source, 0);
  if (ReadU32(destination, 0) < n) n = ReadU32(destination, 0);
  if (n > kBlock) n = kBlock;
  std::memcpy(expected, destination, kBlock);
  std::memcpy(expected, source, n);
  const uint32_t size = kPrivateDevmodeSize, version = kPrivateDevmodeVersion;
  std::memcpy(expected + 0, &size, 4);
  std::memcpy(expected + 8, &version, 4);
}

template <size_t Units>
bool Terminated(const char16_t (&text)[Units]) {
  for (char16_t unit : text)
    if (unit == 0) return true;
  return false;
}

// A stored text is the loaded one cut to what the field and the edit field
// take, and the field ends with zeros.
template <size_t Units>
void CheckStored(const char16_t (&loaded)[Units + 1], const char16_t (&field)[Units]) {
  const size_t limit = Units - 1 < kEditReadUnits - 1 ? Units - 1 : kEditReadUnits - 1;
  size_t i = 0;
  for (; i < limit && loaded[i] != 0; ++i) Require(field[i] == loaded[i]);
  for (; i < Units; ++i) Require(field[i] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  unsigned char input[2 * kBlock] = {};
  // An empty input may come without any buffer at all.
  if (size > 0) std::memcpy(input, data, size < sizeof input ? size : sizeof input);

  auto* source = static_cast<unsigned char*>(std::malloc(kBlock));
  auto* destination = static_cast<unsigned char*>(std::malloc(kBlock));
  if (source == nullptr || destination == nullptr) std::abort();
  std::memcpy(source, input, kBlock);
  std::memcpy(destination, input + kBlock, kBlock);
  unsigned char expected[kBlock];
  ExpectedMerge(source, destination, expected);

  Require(MergePrivateDevmode(reinterpret_cast<const PrivateDevmode*>(source),
                              reinterpret_cast<PrivateDevmode*>(destination)));
  Require(std::memcmp(destination, expected, kBlock) == 0);
  Require(std::memcmp(source, input, kBlock) == 0);

  auto* block = reinterpret_cast<PrivateDevmode*>(destination);
  JobSettingsFields fields;
  std::memset(&fields, 0xA5, sizeof fields);
  LoadJobSettingsFields(block, &fields);
  Require(fields.confidential == (block->dwJobType == JOBTYPE_CONFIDENTIAL));
  Require(Terminated(fields.userName) && Terminated(fields.jobName) && Terminated(fields.password));
  StoreJobSettingsFields(fields, block);
  Require(block->dwJobType == (fields.confidential ? JOBTYPE_CONFIDENTIAL : JOBTYPE_NORMAL));
  CheckStored(fields.userName, block->szUserName);
  CheckStored(fields.jobName, block->szJobName);
  CheckStored(fields.password, block->szPassword);
  // The header and the reserved fields are the merge's; storing leaves them.
  Require(std::memcmp(destination, expected, 24) == 0);

  std::free(source);
  std::free(destination);
  return 0;
}
