// The popup menu and the double click, driven with the real mouse and keyboard.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "clock_test.h"
#include "form2_ids.h"
#include "keyboard.h"
#include "mouse.h"
#include "registry_access.h"
#include "screen.h"
#include "test_skin.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// What the stand-in recorded: its command lines and working folders, one line each.
std::wstring ReadCalls(const std::wstring& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    if (bytes.empty()) return L"";
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<int>(bytes.size()), text.data(),
                                    static_cast<int>(text.size())));
    return text;
}

class MenuTest : public ClockTest {
  protected:
    void SetUp() override {
        ClockTest::SetUp();
        Start();
    }
};

TEST_F(MenuTest, RightClickOpensTheMenuAndItsLastItemClosesTheClock) {
    ASSERT_TRUE(OpenMenu());
    PressKey(VK_END);  // the last item, "Закрыть"
    PressKey(VK_RETURN);
    EXPECT_EQ(clock_->WaitForExit(5000), 0u);
    EXPECT_TRUE(ReadStoredValue(kSectionKey, L"top"));  // closed the usual way
}

TEST_F(MenuTest, AutostartItemWritesThePathThenEmptyTextThenThePathAgain) {
    HKEY run;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &run,
                    nullptr);
    RegDeleteValueW(run, L"Velmora");
    RegCloseKey(run);
    const std::wstring quoted = L"\"" + BuildDirectory() + L"velmora.exe\"";
    const auto runValue = [] {
        const auto value = ReadStoredValue(kRunKey, L"Velmora");
        if (!value) return std::string("<none>");
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        return value->bytes;
    };
    auto ansi = [](const std::wstring& text) {
        std::string bytes(text.size() + 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr);
        return bytes;
    };

    const int kAutostart = 4;  // alarm, date and time, clock variants, autostart
    const auto chooseAndWaitFor = [&](const std::string& expected) {
        Choose(kAutostart);
        EXPECT_TRUE(WaitUntil([&] { return runValue() == expected; }, 3000)) << runValue();
    };
    chooseAndWaitFor(ansi(quoted));
    chooseAndWaitFor(std::string(1, '\0'));
    chooseAndWaitFor(ansi(quoted));

    // The next start sees its own path and shows the mark: the first click switches it off.
    clock_->Close();
    ASSERT_EQ(clock_->WaitForExit(), 0u);
    Start();
    Choose(kAutostart);
    EXPECT_EQ(runValue(), std::string(1, '\0'));

    RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &run);
    RegDeleteValueW(run, L"Velmora");
    RegCloseKey(run);
}

TEST_F(MenuTest, DoubleClickStartsTheDateAndTimeAppletWhereTempIsTakenOut) {
    // Found in the applet's working folder before the system's own.
    ASSERT_TRUE(CopyFileW((BuildDirectory() + L"record_call.exe").c_str(),
                          folder_.File(L"Rundll32.exe").c_str(), FALSE));
    const POINT grip = Grip();
    MoveMouseTo(grip.x, grip.y);
    for (int click = 0; click < 2; ++click) {
        PressButton(MOUSEEVENTF_LEFTDOWN);
        ReleaseButton(MOUSEEVENTF_LEFTUP);
    }
    const std::wstring log = folder_.File(L"calls.txt");
    ASSERT_TRUE(WaitUntil([&] { return !ReadCalls(log).empty(); }, 5000)) << "no applet started";
    const std::wstring calls = ReadCalls(log);
    EXPECT_NE(calls.find(L"shell32.dll,Control_RunDLL TIMEDATE.CPL"), calls.npos) << calls;
    std::wstring folder = folder_.path();
    folder.pop_back();  // the working folder as the system reports it, without a separator
    EXPECT_NE(calls.find(L"\n" + folder + L"\n"), calls.npos) << calls;
}

TEST_F(MenuTest, WebSiteItemOpensTheProgramsAddress) {
    // The shell opens web addresses with the command registered for https: a stand-in here.
    const std::wstring commandKey = L"Software\\Classes\\https\\shell\\open\\command";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, commandKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    wchar_t saved[1024] = L"";
    DWORD savedSize = sizeof saved;
    const bool hadCommand =
        RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(saved),
                         &savedSize) == ERROR_SUCCESS;
    const std::wstring standIn = folder_.File(L"browser.exe");
    ASSERT_TRUE(CopyFileW((BuildDirectory() + L"record_call.exe").c_str(), standIn.c_str(), FALSE));
    const std::wstring command = L"\"" + standIn + L"\" \"%1\"";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));

    Choose(5);  // the web site, after autostart
    const std::wstring log = folder_.File(L"calls.txt");
    const bool opened = WaitUntil([&] { return !ReadCalls(log).empty(); }, 5000);

    if (hadCommand) {
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), savedSize);
    } else {
        RegDeleteValueW(key, nullptr);
    }
    RegCloseKey(key);
    ASSERT_TRUE(opened) << "no browser started";
    EXPECT_NE(ReadCalls(log).find(L"https://www.velmora.example/"), std::wstring::npos)
        << ReadCalls(log);
}

TEST_F(MenuTest, AlarmItemOpensTheDialogWithItsTimeFieldReadable) {
    Choose(1);  // the alarm
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            dialog = FindWindowW(L"#32770", L" Будильник");
            return dialog && IsWindowVisible(dialog);
        },
        3000));
    Sleep(500);  // painted
    // The minutes show on the white field, dark digits among white pixels: nothing around the
    // edit paints over it. (The hours are selected, in the selection's colours.)
    RECT at;
    GetWindowRect(GetDlgItem(dialog, IDC_EDIT2), &at);
    const ScreenShot shot(at);
    int dark = 0, white = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            dark += Near(shot.At(x, y), 0x000000, 0x60) ? 1 : 0;
            white += shot.At(x, y) == 0xFFFFFF ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 8);
    EXPECT_GT(white, shot.width() * shot.height() / 3);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000));
}

}  // namespace
}  // namespace velmora::testing
