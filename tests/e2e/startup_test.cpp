// The real velmora.exe, started as a user would start it and looked at from outside.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "archived_skin.h"
#include "gdiplus_session.h"
#include "registry_access.h"
#include "screen.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

RECT BoundsOf(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds;
}

// A temporary folder with the stand-in skin in it, as the clock expects its skin image.
class FaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteUserKey(kStoreKey);  // every test starts from a first start
    }

    win::GdiplusSession gdiplus_;
    ScratchFolder temp_{L"face"};
};

TEST_F(FaceTest, ShowsATopmostLayeredFaceOwnedByAHiddenApplicationWindow) {
    VelmoraProcess clock(temp_.path());
    ASSERT_TRUE(clock.started());
    const VelmoraWindows windows = clock.WaitForFace();
    ASSERT_TRUE(windows.application);
    ASSERT_TRUE(windows.main);

    wchar_t title[64];
    GetWindowTextW(windows.application, title, 64);
    EXPECT_STREQ(title, L"Velmora");
    EXPECT_EQ(GetWindow(windows.application, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowVisible(windows.application));
    const RECT app = BoundsOf(windows.application);
    EXPECT_EQ(app.right - app.left, 0);
    EXPECT_EQ(app.bottom - app.top, 0);

    EXPECT_EQ(GetWindow(windows.main, GW_OWNER), windows.application);
    const LONG_PTR exStyle = GetWindowLongPtrW(windows.main, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);  // no task-bar button
    EXPECT_FALSE(GetWindowLongPtrW(windows.main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    const RECT face = BoundsOf(windows.main);
    EXPECT_EQ(face.right - face.left, kSkinWidth);
    EXPECT_EQ(face.bottom - face.top, kSkinHeight);
}

TEST_F(FaceTest, SecondStartEndsAtOnceAndLeavesTheFirstAlone) {
    VelmoraProcess first(temp_.path());
    const VelmoraWindows windows = first.WaitForFace();
    ASSERT_TRUE(windows.main);
    const RECT before = BoundsOf(windows.main);

    VelmoraProcess second(temp_.path());
    ASSERT_TRUE(second.started());
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(second.WaitForExit(5000), 0u);
    std::printf("second start ended after %llu ms\n", GetTickCount64() - start);
    EXPECT_FALSE(second.Windows().main);

    EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(IsWindowVisible(windows.main));
    const RECT after = BoundsOf(windows.main);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_TRUE(FileExists(temp_.File(L"velmora.png")));
}

// A folder window named after the program, say: unowned, top-level, exactly "Velmora". It lives on
// its own thread that answers its messages, as another program's window would.
class ForeignVelmoraWindow {
  public:
    ForeignVelmoraWindow() : thread_([this] { Run(); }) {
        WaitUntil([this] { return window_.load() != nullptr; }, 5000);
    }
    ~ForeignVelmoraWindow() {
        if (HWND window = window_.load()) PostMessageW(window, WM_CLOSE, 0, 0);
        thread_.join();
    }
    HWND window() const { return window_.load(); }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(window, message, w, l);
    }
    void Run() {
        WNDCLASSW folderClass{};
        folderClass.lpfnWndProc = Procedure;
        folderClass.hInstance = GetModuleHandleW(nullptr);
        folderClass.lpszClassName = L"FolderWindowStandIn";
        RegisterClassW(&folderClass);
        HWND window =
            CreateWindowExW(0, L"FolderWindowStandIn", L"Velmora", WS_OVERLAPPEDWINDOW, 400, 400,
                            200, 100, nullptr, nullptr, folderClass.hInstance, nullptr);
        if (!window) {
            window_ = HWND_MESSAGE;  // tells the waiting constructor that it failed
            return;
        }
        ShowWindow(window, SW_SHOWNOACTIVATE);
        window_ = window;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        UnregisterClassW(L"FolderWindowStandIn", folderClass.hInstance);
    }

    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

TEST_F(FaceTest, AnotherProgramsWindowCalledVelmoraDoesNotStopTheStart) {
    ForeignVelmoraWindow folder;
    ASSERT_NE(folder.window(), nullptr);
    ASSERT_NE(folder.window(), HWND_MESSAGE);

    VelmoraProcess clock(temp_.path());
    EXPECT_TRUE(clock.WaitForFace().main) << clock.Diagnosis();
    EXPECT_EQ(clock.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(FaceTest, ClosingEndsWithCodeZeroAndDeletesTheSkinImage) {
    VelmoraProcess clock(temp_.path());
    ASSERT_TRUE(clock.WaitForFace().main);
    ASSERT_TRUE(FileExists(temp_.File(L"velmora.png")));
    clock.Close();
    EXPECT_EQ(clock.WaitForExit(), 0u);
    EXPECT_FALSE(FileExists(temp_.File(L"velmora.png")));
}

TEST_F(FaceTest, StartUpPutsTheDefaultSoundInTheTemporaryFolderUnlessOneIsThere) {
    {
        VelmoraProcess clock(temp_.path());
        ASSERT_TRUE(clock.WaitForFace().main);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(
            GetFileAttributesExW(temp_.File(L"Velmora.wav").c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(data.nFileSizeLow, 30000u);
        clock.Close();
        EXPECT_EQ(clock.WaitForExit(), 0u);
    }
    EXPECT_TRUE(FileExists(temp_.File(L"Velmora.wav")));  // it stays for later runs

    // A file of that name in any letter case is used as it is.
    DeleteFileW(temp_.File(L"Velmora.wav").c_str());
    const std::wstring own = temp_.File(L"VELMORA.WAV");
    HANDLE file = CreateFileW(own.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "mine", 4, &written, nullptr);
    CloseHandle(file);
    VelmoraProcess clock(temp_.path());
    ASSERT_TRUE(clock.WaitForFace().main);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(own.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 4u);
}

TEST_F(FaceTest, FaceStaysWhenTheSkinImageIsDeletedWhileRunning) {
    VelmoraProcess clock(temp_.path());
    const VelmoraWindows windows = clock.WaitForFace();
    ASSERT_TRUE(windows.main);
    ASSERT_TRUE(DeleteFileW(temp_.File(L"velmora.png").c_str()));
    Sleep(2500);  // two ticks at least

    const RECT face = BoundsOf(windows.main);
    EXPECT_EQ(face.right - face.left, kSkinWidth);
    EXPECT_EQ(face.bottom - face.top, kSkinHeight);
    // Points of the dial that no hand reaches still show the skin.
    ScratchFolder expected(L"expected");
    const win::SkinImage skin = ArchivedSkin(L"velmora.png", expected.path());
    ASSERT_FALSE(skin.empty());
    const ScreenShot shot(face);
    for (const POINT p : {POINT{126, 215}, POINT{60, 126}, POINT{190, 126}}) {
        const uint32_t want = ShownColour(skin.pixels[p.y * skin.width + p.x]);
        EXPECT_TRUE(Near(shot.At(p.x, p.y), want, 2))
            << p.x << "," << p.y << ": " << std::hex << shot.At(p.x, p.y) << " not " << want;
    }
}

}  // namespace
}  // namespace velmora::testing
