// A reader of the parts of a Windows PE file that decide where it can run:
// machine, subsystem version, exported names, imported functions and the
// manifest that chooses the system libraries' versions. It
// reads a file's bytes only and never trusts them: every offset is checked,
// and a malformed file gives an error, not a fault.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct PeImage {
  uint16_t machine = 0;  // 0x014C x86, 0x8664 x64
  uint16_t subsystem = 0;
  uint16_t majorSubsystemVersion = 0;
  uint16_t minorSubsystemVersion = 0;
  std::vector<std::string> exports;  // names, as stored
  // Imported functions by DLL name in lower case; ordinals as "#n".
  std::map<std::string, std::vector<std::string>> imports;
  // The first manifest resource (type 24) as stored; empty when there is none.
  std::string manifest;
};

constexpr uint16_t kMachineX86 = 0x014C;
constexpr uint16_t kMachineX64 = 0x8664;

// Parses `bytes`; false with `error` set when the file is not a PE image or
// a table points outside it.
bool ReadPeImage(const std::vector<uint8_t>& bytes, PeImage* image, std::string* error);

// Reads a whole file; false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes);
