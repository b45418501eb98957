// The main window in this process, with the stand-in skin in a temporary folder of the test's.
#include "form1.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "application.h"
#include "face/plain_dial.h"
#include "in_process_clock.h"
#include "message_box_answerer.h"
#include "process_usage.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::win {
namespace {

class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(testing::WriteTestSkin(temp_.File(L"velmora.png"))); }

    testing::InProcessClock clock_{L"form1"};
    const testing::ScratchFolder& temp_ = clock_.folder();
    Application& application_ = clock_.application();
};

// The counters must see what a real leak would leave behind, or their silence proves nothing.
TEST(ProcessUsageTest, CountersSeeObjectsHandlesAndMemoryThatAreHeld) {
    const testing::ProcessUsage before = testing::CurrentProcessUsage();
    std::vector<HBRUSH> brushes;
    std::vector<HANDLE> events;
    for (int i = 0; i < 20; ++i) {
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
        events.push_back(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    }
    void* block = VirtualAlloc(nullptr, 4 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const testing::ProcessUsage held = testing::CurrentProcessUsage();
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    for (HANDLE event : events)
        CloseHandle(event);
    VirtualFree(block, 0, MEM_RELEASE);
    const testing::ProcessUsage released = testing::CurrentProcessUsage();

    EXPECT_EQ(held.gdiObjects, before.gdiObjects + 20);
    EXPECT_EQ(held.kernelHandles, before.kernelHandles + 20);
    EXPECT_GE(held.privateBytes, before.privateBytes + (4 << 20));
    EXPECT_EQ(released.gdiObjects, before.gdiObjects);
    EXPECT_EQ(released.kernelHandles, before.kernelHandles);
}

TEST_F(Form1Test, ManyRendersHoldNoMoreObjectsHandlesOrMemory) {
    TForm1 form(application_);
    ASSERT_EQ(form.Face().width(), testing::kSkinWidth);
    for (int i = 0; i < 50; ++i)
        form.RenderFace(L"velmora", false);  // settle caches

    const testing::ProcessUsage before = testing::CurrentProcessUsage();
    constexpr int kRenders = 3000;
    for (int i = 0; i < kRenders; ++i)
        form.RenderFace(L"velmora", i % 100 == 0);
    const testing::ProcessUsage after = testing::CurrentProcessUsage();

    std::printf(
        "after %d renders: GDI objects %zu -> %zu, kernel handles %zu -> %zu, "
        "private bytes %zu -> %zu\n",
        kRenders, before.gdiObjects, after.gdiObjects, before.kernelHandles, after.kernelHandles,
        before.privateBytes, after.privateBytes);
    EXPECT_GT(before.gdiObjects, 0u);  // the face's bitmap and device context at least
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_LE(after.kernelHandles, before.kernelHandles);
    // A leaked face bitmap alone would be 235 KB a render.
    EXPECT_LE(after.privateBytes, before.privateBytes + 512 * 1024);
}

TEST_F(Form1Test, FaceKeepsShowingWhenItsFileGoes) {
    TForm1 form(application_);
    ASSERT_TRUE(DeleteFileW(temp_.File(L"velmora.png").c_str()));
    form.RenderFace(L"velmora", false);
    EXPECT_EQ(form.Face().width(), testing::kSkinWidth);
    RECT bounds;
    GetWindowRect(form.Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, testing::kSkinWidth);
}

TEST_F(Form1Test, ASkinTheArchiveLacksShowsThePlainDialUntilItsImageAppears) {
    TForm1 form(application_);
    form.RenderFace(L"nosuch", true);  // nothing to extract, nothing reported
    RECT bounds;
    GetWindowRect(form.Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, kFaceWidth);
    EXPECT_EQ(bounds.bottom - bounds.top, kFaceHeight);
    // The plain dial with the hands over it: still a clock, and solid where the mouse grips it.
    const std::vector<uint32_t> dial = PlainDial();
    ASSERT_EQ(form.Face().width(), kFaceWidth);
    const size_t grip = 215 * kFaceWidth + 126, corner = 0;
    EXPECT_EQ(form.Face().pixels()[grip], dial[grip]);
    EXPECT_GE(form.Face().pixels()[grip] >> 24, 200u);
    EXPECT_EQ(form.Face().pixels()[corner], 0u);
    EXPECT_EQ(form.Face().pixels()[kDialCentreY * kFaceWidth + kDialCentreX], 0xFFFFFFFF);

    ASSERT_TRUE(testing::WriteTestSkin(temp_.File(L"nosuch.png")));
    form.RenderFace(L"nosuch", false);  // the next tick finds it
    EXPECT_EQ(form.Face().width(), testing::kSkinWidth);
    EXPECT_NE(form.Face().pixels()[grip], dial[grip]);
}

// Counts the message boxes of this process while the message loop runs, closes them after a
// while, and ends the loop by closing the face.
class MessageBoxWatch {
  public:
    MessageBoxWatch(HWND face, DWORD closeBoxesAfterMs, DWORD endAfterMs)
        : thread_([=] { Watch(face, closeBoxesAfterMs, endAfterMs); }) {}
    ~MessageBoxWatch() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

    std::set<HWND> seen;
    int mostOpenAtOnce = 0;
    std::wstring text, caption;

  private:
    void Watch(HWND face, DWORD closeBoxesAfterMs, DWORD endAfterMs) {
        const ULONGLONG start = GetTickCount64();
        bool closed = false;
        while (GetTickCount64() - start < endAfterMs) {
            const auto boxes = testing::OwnMessageBoxes();
            mostOpenAtOnce = std::max(mostOpenAtOnce, static_cast<int>(boxes.size()));
            for (HWND box : boxes) {
                if (seen.insert(box).second && text.empty()) {
                    wchar_t buffer[256];
                    GetDlgItemTextW(box, 0xFFFF, buffer, 256);
                    text = buffer;
                    GetWindowTextW(box, buffer, 256);
                    caption = buffer;
                }
            }
            if (!closed && GetTickCount64() - start >= closeBoxesAfterMs) {
                for (HWND box : boxes)
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                closed = true;
            }
            Sleep(50);
        }
        for (HWND box : testing::OwnMessageBoxes())
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(face, WM_CLOSE, 0, 0);
    }

    std::thread thread_;
};

TEST_F(Form1Test, AFailureOfEveryTickIsReportedOnceWithTheStandardReport) {
    TForm1 form(application_);
    form.SetAlarmTime("ab:30");
    // Ticks go on while the box is open (it runs its own message loop) and after it is closed.
    MessageBoxWatch watch(form.Handle(), 2600, 4400);
    EXPECT_EQ(application_.Run(form.Handle()), 0);
    watch.Join();
    EXPECT_EQ(watch.seen.size(), 1u);
    EXPECT_EQ(watch.mostOpenAtOnce, 1);
    EXPECT_EQ(watch.text, L"'ab' is not a valid integer value.");
    EXPECT_EQ(watch.caption, L"Velmora");
}

}  // namespace
}  // namespace velmora::win
