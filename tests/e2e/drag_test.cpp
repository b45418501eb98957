#include <gtest/gtest.h>

#include <memory>

#include "gdiplus_session.h"
#include "registry_access.h"
#include "mouse.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

class DragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteUserKey(kStoreKey);
        clock_ = std::make_unique<VelmoraProcess>(temp_.path());
        face_ = clock_->WaitForFace().main;
        ASSERT_TRUE(face_);
        start_ = TopLeftOf(face_);
        // A point of the opaque dial that no hand covers.
        grip_ = {start_.x + 126, start_.y + 215};
    }

    win::GdiplusSession gdiplus_;
    ScratchFolder temp_{L"drag"};
    std::unique_ptr<VelmoraProcess> clock_;
    HWND face_ = nullptr;
    POINT start_{};
    POINT grip_{};
};

TEST_F(DragTest, LeftButtonMovesTheFaceWithThePressPointUnderTheCursor) {
    DragWith(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, grip_, {grip_.x + 90, grip_.y + 60});
    ASSERT_TRUE(WaitUntil([&] { return TopLeftOf(face_).x != start_.x; }, 2000));
    const POINT moved = TopLeftOf(face_);
    EXPECT_EQ(moved.x, start_.x + 90);
    EXPECT_EQ(moved.y, start_.y + 60);
}

TEST_F(DragTest, RightButtonDoesNotMoveTheFace) {
    DragWith(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, grip_, {grip_.x + 90, grip_.y + 60});
    Sleep(300);
    const POINT after = TopLeftOf(face_);
    EXPECT_EQ(after.x, start_.x);
    EXPECT_EQ(after.y, start_.y);
}

}  // namespace
}  // namespace velmora::testing
