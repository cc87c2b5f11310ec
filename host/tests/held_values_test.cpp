// The ledger's record of held values: a number that is a live handle in one
// space and a live block in another (GDI and USER handles and heap addresses
// under Wine all lie in the low megabytes) is two things, given back apart.
#include <gtest/gtest.h>

#include "held_values.h"

TEST(HeldValues, OneNumberHeldInTwoSpacesIsGivenBackInEach) {
  const struct {
    LedgerKind first;
    LedgerKind second;
  } pairs[] = {
      {LedgerKind::kCHeap, LedgerKind::kBitmap},       {LedgerKind::kBitmap, LedgerKind::kCHeap},
      {LedgerKind::kIcon, LedgerKind::kDriverHeap},    {LedgerKind::kDeviceContext, LedgerKind::kWindow},
      {LedgerKind::kImageList, LedgerKind::kFile},     {LedgerKind::kActivationContext, LedgerKind::kLibrary},
      {LedgerKind::kFile, LedgerKind::kStream},
      {LedgerKind::kGlobalMemory, LedgerKind::kCHeap},
      {LedgerKind::kWindowClass, LedgerKind::kAtom},
      {LedgerKind::kTlsSlot, LedgerKind::kRegistryKey},
  };
  const void* number = reinterpret_cast<const void*>(0x10a0030);
  for (const auto& pair : pairs) {
    HeldValues held;
    held.Add(number, pair.first);
    held.Add(number, pair.second);
    LedgerKind kind = LedgerKind::kCount;
    ASSERT_TRUE(held.Remove(SpaceOf(pair.first), number, &kind));
    EXPECT_EQ(kind, pair.first);
    EXPECT_NE(held.Find(SpaceOf(pair.second), number), nullptr) << "the other one is still held";
    ASSERT_TRUE(held.Remove(SpaceOf(pair.second), number, &kind));
    EXPECT_EQ(kind, pair.second);
    EXPECT_FALSE(held.Remove(SpaceOf(pair.second), number, &kind));
  }
}

// An atom added twice under one name is one value taken twice: it is held
// until it is given back twice.
TEST(HeldValues, AValueTakenTwiceIsHeldUntilGivenBackTwice) {
  HeldValues held;
  const void* atom = reinterpret_cast<const void*>(0xC012);
  held.Add(atom, LedgerKind::kAtom);
  held.Add(atom, LedgerKind::kAtom);
  LedgerKind kind = LedgerKind::kCount;
  ASSERT_TRUE(held.Remove(HeldSpace::kAtom, atom, &kind));
  EXPECT_NE(held.Find(HeldSpace::kAtom, atom), nullptr) << "taken twice, given back once";
  ASSERT_TRUE(held.Remove(HeldSpace::kAtom, atom, &kind));
  EXPECT_EQ(held.Find(HeldSpace::kAtom, atom), nullptr);
  EXPECT_FALSE(held.Remove(HeldSpace::kAtom, atom, &kind));
}
