// The framework's frame owns itself once its window exists; a frame whose
// window could not be made stays with its creator.
#include "framework/AfxWin.h"

#include <gtest/gtest.h>

namespace {

class CountedFrame : public CFrameWnd {
public:
  CountedFrame(int* pDeletions, BOOL bViewCanBeMade)
      : m_pDeletions(pDeletions), m_bViewCanBeMade(bViewCanBeMade) {}
  ~CountedFrame() override { ++*m_pDeletions; }

protected:
  BOOL OnCreateClient() override { return m_bViewCanBeMade; }

private:
  int* m_pDeletions;
  BOOL m_bViewCanBeMade;
};

TEST(FrameWndTest, FrameWhoseViewCannotBeMadeIsLeftToItsCreator) {
  int deletions = 0;
  auto* pFrame = new CountedFrame(&deletions, FALSE);
  EXPECT_FALSE(pFrame->LoadFrame(129, WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(0, deletions) << "the frame deleted itself, and its creator deletes it again";
  if (deletions == 0) delete pFrame;
  EXPECT_EQ(1, deletions);
}

TEST(FrameWndTest, DestroyedFrameDeletesItselfOnce) {
  int deletions = 0;
  auto* pFrame = new CountedFrame(&deletions, TRUE);
  ASSERT_TRUE(pFrame->LoadFrame(129, WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(0, deletions);
  pFrame->DestroyWindow();
  EXPECT_EQ(1, deletions);
}

}  // namespace
