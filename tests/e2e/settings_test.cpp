// Where the face opens and what it stores, against the registry of the test prefix.
#include <gtest/gtest.h>

#include "gdiplus_session.h"
#include "registry_access.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { DeleteUserKey(kStoreKey); }
    void TearDown() override { DeleteUserKey(kStoreKey); }

    // Starts the clock and waits for its face.
    HWND Start(std::unique_ptr<VelmoraProcess>& clock) {
        clock = std::make_unique<VelmoraProcess>(temp_.path());
        return clock->WaitForFace().main;
    }

    const POINT defaultPlace_{GetSystemMetrics(SM_CXSCREEN) - 250, 150};
    win::GdiplusSession gdiplus_;
    ScratchFolder temp_{L"settings"};
};

TEST_F(SettingsTest, FirstStartOpensAtTheDefaultPlaceAndTheNextWhereTheFaceWasClosed) {
    std::unique_ptr<VelmoraProcess> clock;
    HWND face = Start(clock);
    ASSERT_TRUE(face);
    const POINT first = TopLeftOf(face);
    EXPECT_EQ(first.x, defaultPlace_.x);
    EXPECT_EQ(first.y, defaultPlace_.y);
    EXPECT_FALSE(ReadStoredValue(kSectionKey, L"top"));  // nothing is stored before closing

    SetWindowPos(face, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return TopLeftOf(face).x == 300; }, 2000));
    clock->Close();
    ASSERT_EQ(clock->WaitForExit(), 0u);

    const auto top = ReadStoredValue(kSectionKey, L"top");
    const auto left = ReadStoredValue(kSectionKey, L"left");
    ASSERT_TRUE(top && left);
    EXPECT_EQ(top->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(top->bytes, std::string("200", 4));
    EXPECT_EQ(left->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(left->bytes, std::string("300", 4));

    face = Start(clock);
    ASSERT_TRUE(face);
    const POINT second = TopLeftOf(face);
    EXPECT_EQ(second.x, 300);
    EXPECT_EQ(second.y, 200);
}

struct PlaceCase {
    const wchar_t* top;
    const wchar_t* left;
    int expectedX;  // INT_MIN: the default place
    int expectedY;
};

TEST_F(SettingsTest, StoredTextDecidesThePlaceUnlessNoMonitorWouldShowTheFace) {
    const PlaceCase cases[] = {
        {L"$20", L"  40", 40, 32},               // hexadecimal and leading spaces
        {L"-10", L"-100", -100, -10},            // partly off the screen: kept
        {L"letters", L"40 ", INT_MIN, INT_MIN},  // not numbers: defaults
        {L"150", L"-5000", INT_MIN, INT_MIN},    // on no monitor: default place
        {L"99999", L"300", INT_MIN, INT_MIN},
    };
    for (const PlaceCase& c : cases) {
        WriteStoredText(kSectionKey, L"top", c.top);
        WriteStoredText(kSectionKey, L"left", c.left);
        std::unique_ptr<VelmoraProcess> clock;
        const HWND face = Start(clock);
        ASSERT_TRUE(face) << "top " << c.top << ": " << clock->Diagnosis();
        const POINT place = TopLeftOf(face);
        EXPECT_EQ(place.x, c.expectedX == INT_MIN ? defaultPlace_.x : c.expectedX) << c.left;
        EXPECT_EQ(place.y, c.expectedY == INT_MIN ? defaultPlace_.y : c.expectedY) << c.top;
        clock->Close();
        EXPECT_EQ(clock->WaitForExit(), 0u);
    }
}

TEST_F(SettingsTest, AWronglyTypedValueIsReportedAndTheClockStillStarts) {
    const DWORD number = 30;
    WriteStoredValue(kSectionKey, L"top", REG_DWORD,
                     std::string(reinterpret_cast<const char*>(&number), sizeof number));
    WriteStoredText(kSectionKey, L"left", L"300");
    VelmoraProcess clock(temp_.path());
    const HWND box = clock.WaitForMessageBox();
    ASSERT_TRUE(box);
    // No full stop: the text ends in a quote, which sorts before it.
    EXPECT_EQ(MessageBoxText(box), L"Invalid data type for 'top'");
    EXPECT_EQ(WindowText(box), L"Velmora");
    PostMessageW(box, WM_COMMAND, IDOK, 0);

    const HWND face = clock.WaitForFace().main;
    ASSERT_TRUE(face);
    const POINT place = TopLeftOf(face);
    EXPECT_EQ(place.x, 300);
    EXPECT_EQ(place.y, 150);
    RECT bounds;
    GetWindowRect(face, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, kSkinWidth);  // the rest of start-up ran
}

}  // namespace
}  // namespace velmora::testing
