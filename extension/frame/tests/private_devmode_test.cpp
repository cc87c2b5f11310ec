#include "private_devmode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes BytesOf(const PrivateDevmode& block) {
  const auto* p = reinterpret_cast<const unsigned char*>(&block);
  return Bytes(p, p + sizeof block);
}

PrivateDevmode FilledWith(unsigned char value) {
  PrivateDevmode block;
  std::memset(&block, value, sizeof block);
  return block;
}

void StoreU32(PrivateDevmode& block, size_t offset, uint32_t value) {
  std::memcpy(reinterpret_cast<unsigned char*>(&block) + offset, &value, 4);
}

uint32_t LoadU32(const PrivateDevmode& block, size_t offset) {
  uint32_t value;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(&block) + offset, 4);
  return value;
}

// A block as the page would leave it: our signature, user settings.
PrivateDevmode UserBlock() {
  PrivateDevmode block;
  SetDefaultPrivateDevmode(&block);
  block.dwJobType = JOBTYPE_CONFIDENTIAL;
  std::memcpy(block.szUserName, u"alice", 12);
  std::memcpy(block.szJobName, u"report", 14);
  std::memcpy(block.szPassword, u"1234", 10);
  return block;
}

TEST(PrivateDevmodeDefaults, WrittenOverJunkGiveExactlyTheDefaultBytes) {
  PrivateDevmode block = FilledWith(0xA5);
  SetDefaultPrivateDevmode(&block);

  Bytes expected(176, 0);
  const unsigned char header[] = {176, 0, 0, 0,  0x53, 0x50, 0x51, 0x5A,
                                  2,   0, 0, 0,  1,    0,    0,    0};
  std::memcpy(expected.data(), header, sizeof header);
  EXPECT_EQ(BytesOf(block), expected);
}

TEST(PrivateDevmodeDefaults, NullBlockIsIgnored) { SetDefaultPrivateDevmode(nullptr); }

TEST(PrivateDevmodeMerge, SameSignatureShortSourceCopiesOnlyItsBytes) {
  PrivateDevmode destination = UserBlock();
  PrivateDevmode source = FilledWith(0x11);
  StoreU32(source, 0, 100);
  StoreU32(source, 4, kPluginSignature);
  const Bytes before = BytesOf(destination);

  ASSERT_TRUE(MergePrivateDevmode(&source, &destination));

  const Bytes after = BytesOf(destination);
  const Bytes sourceBytes = BytesOf(source);
  for (size_t i = 12; i < 100; ++i) {
    EXPECT_EQ(after[i], sourceBytes[i]) << "byte " << i;
  }
  for (size_t i = 100; i < 176; ++i) {
    EXPECT_EQ(after[i], before[i]) << "byte " << i;
  }
  EXPECT_EQ(LoadU32(destination, 0), 176u);
  EXPECT_EQ(LoadU32(destination, 4), kPluginSignature);
  EXPECT_EQ(LoadU32(destination, 8), 2u);
}

TEST(PrivateDevmodeMerge, OversizedSourceCopiesTheWholeBlockOnly) {
  // The source sits at the start of a larger buffer, as a later layout would.
  std::vector<unsigned char> larger(4000, 0x22);
  auto* source = reinterpret_cast<PrivateDevmode*>(larger.data());
  StoreU32(*source, 0, 4000);
  StoreU32(*source, 4, kPluginSignature);
  StoreU32(*source, 8, 7);
  PrivateDevmode destination = UserBlock();

  ASSERT_TRUE(MergePrivateDevmode(source, &destination));

  const Bytes after = BytesOf(destination);
  for (size_t i = 12; i < 176; ++i) {
    EXPECT_EQ(after[i], 0x22) << "byte " << i;
  }
  EXPECT_EQ(LoadU32(destination, 0), 176u);
  EXPECT_EQ(LoadU32(destination, 8), 2u);
}

TEST(PrivateDevmodeMerge, ZeroSizedSourceCopiesNothing) {
  PrivateDevmode destination = UserBlock();
  StoreU32(destination, 8, 9);  // a stale version is still restamped
  PrivateDevmode source = FilledWith(0x33);
  StoreU32(source, 0, 0);
  StoreU32(source, 4, kPluginSignature);
  const Bytes before = BytesOf(destination);

  ASSERT_TRUE(MergePrivateDevmode(&source, &destination));

  Bytes expected = before;
  expected[8] = 2;
  EXPECT_EQ(BytesOf(destination), expected);
}

TEST(PrivateDevmodeMerge, ForeignSignatureTurnsUserSettingsIntoDefaults) {
  PrivateDevmode destination = UserBlock();
  PrivateDevmode source = UserBlock();
  StoreU32(source, 4, 0x41424344);

  ASSERT_TRUE(MergePrivateDevmode(&source, &destination));

  PrivateDevmode defaults;
  SetDefaultPrivateDevmode(&defaults);
  EXPECT_EQ(BytesOf(destination), BytesOf(defaults));
}

TEST(PrivateDevmodeMerge, OlderVersionKeepsItsBytesAndIsStampedCurrent) {
  PrivateDevmode source = UserBlock();
  StoreU32(source, 8, 1);
  source.dwJobType = 77;  // taken as it comes: nothing is validated
  PrivateDevmode destination;
  SetDefaultPrivateDevmode(&destination);

  ASSERT_TRUE(MergePrivateDevmode(&source, &destination));

  Bytes expected = BytesOf(source);
  expected[8] = 2;
  EXPECT_EQ(BytesOf(destination), expected);
}

TEST(PrivateDevmodeMerge, SmallerDestinationSizeBoundsTheCopy) {
  PrivateDevmode destination = UserBlock();
  StoreU32(destination, 0, 40);
  PrivateDevmode source = FilledWith(0x44);
  StoreU32(source, 0, 176);
  StoreU32(source, 4, kPluginSignature);
  const Bytes before = BytesOf(destination);

  ASSERT_TRUE(MergePrivateDevmode(&source, &destination));

  const Bytes after = BytesOf(destination);
  for (size_t i = 12; i < 40; ++i) {
    EXPECT_EQ(after[i], 0x44) << "byte " << i;
  }
  for (size_t i = 40; i < 176; ++i) {
    EXPECT_EQ(after[i], before[i]) << "byte " << i;
  }
  EXPECT_EQ(LoadU32(destination, 0), 176u);
}

TEST(PrivateDevmodeMerge, NullSourceOrDestinationChangesNothing) {
  PrivateDevmode block = UserBlock();
  const Bytes before = BytesOf(block);
  EXPECT_FALSE(MergePrivateDevmode(nullptr, &block));
  EXPECT_FALSE(MergePrivateDevmode(&block, nullptr));
  EXPECT_EQ(BytesOf(block), before);
}

TEST(PrivateDevmodeMerge, MergingABlockIntoItselfKeepsItsSettings) {
  PrivateDevmode block = UserBlock();
  const Bytes before = BytesOf(block);
  ASSERT_TRUE(MergePrivateDevmode(&block, &block));
  EXPECT_EQ(BytesOf(block), before);
}

TEST(PrivateDevmodeMerge, UnalignedBlocksAreReadByteWise) {
  std::vector<unsigned char> buffer(2 * sizeof(PrivateDevmode) + 2, 0);
  PrivateDevmode user = UserBlock();
  PrivateDevmode defaults;
  SetDefaultPrivateDevmode(&defaults);
  std::memcpy(buffer.data() + 1, &user, sizeof user);
  std::memcpy(buffer.data() + 1 + sizeof user, &defaults, sizeof defaults);

  ASSERT_TRUE(MergePrivateDevmode(reinterpret_cast<PrivateDevmode*>(buffer.data() + 1),
                                  reinterpret_cast<PrivateDevmode*>(buffer.data() + 1 + 176)));
  EXPECT_EQ(0, std::memcmp(buffer.data() + 1 + 176, &user, sizeof user));
}

}  // namespace
