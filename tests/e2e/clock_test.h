#pragma once

// What the end-to-end tests that drive the face with the mouse and the keyboard share.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gdiplus_session.h"
#include "keyboard.h"
#include "mouse.h"
#include "registry_access.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::testing {

// A folder for the test with the clock's temporary folder inside it, named "temp", so that the
// date and time applet starts in the test folder itself.
class ClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteUserKey(kStoreKey);
        CreateDirectoryW(temp_.c_str(), nullptr);
    }
    void TearDown() override {
        clock_.reset();
        DeleteUserKey(kStoreKey);
        DeleteFileW((temp_ + L"velmora.png").c_str());
        DeleteFileW((temp_ + L"velmora1.png").c_str());
        DeleteFileW((temp_ + L"velmora2.png").c_str());
        DeleteFileW((temp_ + L"Velmora.wav").c_str());
        RemoveDirectoryW(temp_.c_str());
    }

    // Starts the clock, waits for its face and activates it with a click.
    void Start() {
        clock_ = std::make_unique<VelmoraProcess>(temp_);
        face_ = clock_->WaitForFace().main;
        ASSERT_TRUE(face_);
        // The face starts without taking the keyboard from the user; a click gives it.
        const POINT grip = Grip();
        MoveMouseTo(grip.x, grip.y);
        PressButton(MOUSEEVENTF_LEFTDOWN);
        ReleaseButton(MOUSEEVENTF_LEFTUP);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == face_; }, 3000));
    }

    // A point of the opaque dial that no hand covers.
    POINT Grip() const {
        RECT bounds;
        GetWindowRect(face_, &bounds);
        return {bounds.left + 126, bounds.top + 215};
    }

    // Opens the menu with a right click and waits until it shows.
    bool OpenMenu() {
        const auto menuShows = [] {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            return menu && IsWindowVisible(menu);
        };
        // The menu of an earlier choice must be gone first, or the keys would go to it.
        if (!WaitUntil([&] { return !menuShows(); }, 3000)) return false;
        const POINT grip = Grip();
        MoveMouseTo(grip.x, grip.y);
        PressButton(MOUSEEVENTF_RIGHTDOWN);
        ReleaseButton(MOUSEEVENTF_RIGHTUP);
        return WaitUntil(menuShows, 3000);
    }

    // Chooses the n-th command of the menu (from 1, separators not counted) with the keyboard.
    void Choose(int command) {
        ASSERT_TRUE(OpenMenu());
        PressKey(VK_HOME);  // the first item, whatever the menu highlighted last time
        PressKeys(VK_DOWN, command - 1);
        PressKey(VK_RETURN);
        Sleep(300);
    }

    win::GdiplusSession gdiplus_;
    ScratchFolder folder_{L"clock"};
    const std::wstring temp_ = folder_.File(L"temp\\");
    std::unique_ptr<VelmoraProcess> clock_;
    HWND face_ = nullptr;
};

}  // namespace velmora::testing
