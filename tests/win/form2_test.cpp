// The alarm dialog in this process, driven from a second thread as a user would drive it.
#include "form2.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "application.h"
#include "form2_ids.h"
#include "registry_access.h"
#include "registry_settings.h"
#include "temp_env.h"
#include "velmora_process.h"

namespace velmora::win {
namespace {

using testing::kSectionKey;
using testing::kStoreKey;
using testing::ReadStoredValue;
using testing::WriteStoredText;

// Far enough from the screen's left edge that the dialog beside it fits on the screen at 200 %
// too; the window manager would move a dialog that does not.
constexpr RECT kFace{700, 200, 935, 450};

constexpr const wchar_t* kShellFolders =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::wstring ControlText(HWND dialog, int control) {
    wchar_t text[256];
    GetDlgItemTextW(dialog, control, text, 256);
    return text;
}

// The dialog's outer size for its client area of 289 x 183 pixels at 100 %.
SIZE OuterSizeAt100() {
    RECT outer{0, 0, 289, 183};
    AdjustWindowRectEx(&outer, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE,
                       WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

// Finds the dialog once it shows, runs the steps on it from this thread, and gives up after a
// while so that a test that goes wrong cannot hang. The dialog exists before it has been laid out
// and filled; it turns visible only after that, so the steps wait for the visible dialog.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> steps)
        : thread_([this, steps] {
              HWND dialog = nullptr;
              for (int i = 0; i < 200 && !dialog; ++i) {
                  Sleep(25);
                  dialog = FindWindowW(L"#32770", L" Будильник");
                  if (dialog && !IsWindowVisible(dialog)) dialog = nullptr;
              }
              if (!dialog) return;
              found_ = true;
              steps(dialog);
              Sleep(200);
              if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          }) {}
    ~DialogDriver() { thread_.join(); }
    bool found() const { return found_; }

  private:
    bool found_ = false;
    std::thread thread_;
};

class Form2Test : public ::testing::Test {
  protected:
    void SetUp() override { testing::DeleteUserKey(kStoreKey); }
    void TearDown() override { testing::DeleteUserKey(kStoreKey); }
    // Opened once the test's store is empty, as the clock opens it at start-up.

    std::string Stored(const wchar_t* name) const {
        const auto value = ReadStoredValue(kSectionKey, name);
        return value ? value->bytes.substr(0, value->bytes.size() - 1) : "<none>";
    }

    // Shows the dialog while the steps run on it.
    void Show(std::function<void(HWND)> steps) {
        DialogDriver driver(std::move(steps));
        if (!settings_) settings_ = std::make_unique<RegistrySettings>(L"Software\\Zanfor");
        form_.ShowModal(nullptr, settings_.get());
        EXPECT_TRUE(driver.found()) << "the dialog did not show";
    }

    testing::ScratchFolder temp_{L"dialog"};
    testing::TempEnvironment environment_{temp_.path()};
    Application application_{GetModuleHandleW(nullptr), L"Velmora"};
    std::unique_ptr<RegistrySettings> settings_;
    TForm2 form_{GetModuleHandleW(nullptr), kFace};
};

TEST_F(Form2Test, StandsToTheLeftOfTheFaceAndAShowingStartsFromTheStoredValues) {
    const SIZE outer = OuterSizeAt100();
    WriteStoredText(kSectionKey, L"bud", L"07:30");
    WriteStoredText(kSectionKey, L"eff", L"0");
    WriteStoredText(kSectionKey, L"sound", L"ring.WAV");
    Show([&](HWND dialog) {
        RECT bounds, client;
        GetWindowRect(dialog, &bounds);
        GetClientRect(dialog, &client);
        EXPECT_EQ(bounds.top, 220);
        EXPECT_EQ(bounds.right, kFace.left + (bounds.right - bounds.left) - outer.cx);
        EXPECT_EQ(client.right, 289);
        EXPECT_EQ(client.bottom, 183);
        EXPECT_EQ(ControlText(dialog, IDC_EDIT1), L"07");
        EXPECT_EQ(ControlText(dialog, IDC_EDIT2), L"30");
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_BUTTON3)));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECKBOX1), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(ControlText(dialog, IDC_COMBOBOX1), L"ring.WAV");
        // Hovering shows hints on the delete and play buttons, and on nothing else.
        HWND hints = nullptr;
        for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w && !hints;
             w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr)) {
            if (GetWindow(w, GW_OWNER) == dialog) hints = w;
        }
        ASSERT_TRUE(hints);
        std::map<int, std::wstring> hinted;
        const LRESULT tools = SendMessageW(hints, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < tools; ++i) {
            wchar_t text[80] = L"";
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.lpszText = text;
            SendMessageW(hints, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info));
            hinted[GetDlgCtrlID(reinterpret_cast<HWND>(info.uId))] = text;
        }
        EXPECT_EQ(hinted, (std::map<int, std::wstring>{{IDC_BUTTON3, L"Удалить будильник"},
                                                       {IDC_TOOLBUTTON1, L"Воспроизвести"}}));
        // Cancel after changes stores nothing.
        SetDlgItemTextW(dialog, IDC_EDIT1, L"11");
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Stored(L"bud"), "07:30");
    EXPECT_EQ(Stored(L"eff"), "0");
}

struct OkCase {
    const wchar_t* hour;
    const wchar_t* minute;
    const char* stored;
};

TEST_F(Form2Test, OkPadsTheTimeAndStoresTimeEffectsAndSound) {
    const OkCase cases[] = {{L"7", L"5", "07:05"}, {L"", L"", "00:00"}, {L"24", L"99", "24:99"}};
    for (const OkCase& c : cases) {
        Show([&](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_EDIT1, c.hour);
            SetDlgItemTextW(dialog, IDC_EDIT2, c.minute);
            CheckDlgButton(dialog, IDC_CHECKBOX1, BST_UNCHECKED);
            SetDlgItemTextW(dialog, IDC_COMBOBOX1, L"typed.wav");
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(Stored(L"bud"), c.stored);
        EXPECT_EQ(Stored(L"eff"), "0");
        EXPECT_EQ(Stored(L"sound"), "typed.wav");
    }
}

TEST_F(Form2Test, WithNothingStoredOkSetsAnAlarmAtMidnightAndDeleteRemovesIt) {
    Show([&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_EDIT1), L"00");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_BUTTON3)));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECKBOX1), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(ControlText(dialog, IDC_COMBOBOX1), L"Velmora.wav");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(Stored(L"bud"), "00:00");
    Show([&](HWND dialog) {
        ASSERT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_BUTTON3)));
        PostMessageW(dialog, WM_COMMAND, IDC_BUTTON3, 0);
    });
    const auto bud = ReadStoredValue(kSectionKey, L"bud");
    ASSERT_TRUE(bud);  // written empty, not removed
    EXPECT_EQ(bud->bytes, std::string(1, '\0'));
    Show([&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_EDIT2), L"00");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_BUTTON3)));
    });
}

TEST_F(Form2Test, TheTimeEditsTakeOnlyDigitsTypedOrPasted) {
    Show([&](HWND dialog) {
        const HWND hour = GetDlgItem(dialog, IDC_EDIT1);
        SetWindowTextW(hour, L"");
        for (const wchar_t c : {L'a', L'1', L':', L'2', L'3'})
            SendMessageW(hour, WM_CHAR, c, 0);
        EXPECT_EQ(ControlText(dialog, IDC_EDIT1), L"12");  // at most two characters

        const HWND minute = GetDlgItem(dialog, IDC_EDIT2);
        SetWindowTextW(minute, L"");
        const std::wstring pasted = L"x4y5z";
        if (OpenClipboard(dialog)) {
            EmptyClipboard();
            HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
            memcpy(GlobalLock(data), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(data);
            SetClipboardData(CF_UNICODETEXT, data);
            CloseClipboard();
        }
        SendMessageW(minute, WM_PASTE, 0, 0);
        EXPECT_EQ(ControlText(dialog, IDC_EDIT2), L"45");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(Stored(L"bud"), "12:45");
}

// Beside a face near the screen's left or bottom edge the dialog would lie off the screen, and a
// modal dialog nobody can see holds the clock: it is moved just far enough to be seen whole.
TEST(Form2PlaceTest, TheDialogStandsLeftOfTheFaceAndStaysOnItsMonitor) {
    const LONG width = OuterSizeAt100().cx, height = OuterSizeAt100().cy;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        POINT face;
        POINT expected;
    } cases[] = {
        {{700, 200}, {700 - width, 220}},  // beside it
        {{700, -100}, {700 - width, 10}},  // never above the screen's top
        {{0, 200}, {work.left, 220}},      // at the left edge
        {{-100, 200}, {work.left, 220}},   // partly off the screen
        {{700, work.bottom - 100}, {700 - width, work.bottom - height}},  // near the bottom
    };
    for (const auto& c : cases) {
        const TForm2 form(GetModuleHandleW(nullptr),
                          RECT{c.face.x, c.face.y, c.face.x + 235, c.face.y + 250});
        EXPECT_EQ(form.Place().x, c.expected.x) << c.face.x << "," << c.face.y;
        EXPECT_EQ(form.Place().y, c.expected.y) << c.face.x << "," << c.face.y;
    }
}

TEST(Form2SoundsTest, TheListHoldsTheMediaFoldersWavFilesAndTheProgramsTwo) {
    testing::ScratchFolder root(L"media");
    CreateDirectoryW(root.File(L"Media").c_str(), nullptr);
    for (const wchar_t* name : {L"chimes.wav", L"ding.WAV", L"notes.txt"}) {
        CloseHandle(CreateFileW(root.File(L"Media\\" + std::wstring(name)).c_str(), GENERIC_WRITE,
                                0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    wchar_t saved[1024] = L"";
    DWORD savedSize = sizeof saved;
    const bool hadFonts = RegGetValueW(HKEY_CURRENT_USER, kShellFolders, L"Fonts", RRF_RT_REG_SZ,
                                       nullptr, saved, &savedSize) == ERROR_SUCCESS;
    WriteStoredText(kShellFolders, L"Fonts", root.File(L"Fonts"));
    {
        TForm2 form(GetModuleHandleW(nullptr), RECT{0, 0, 235, 250});
        std::wstring media = root.File(L"Media");
        EXPECT_EQ(form.MediaFolder(), media);
        std::vector<std::wstring> sounds = form.Sounds();
        std::sort(sounds.begin(), sounds.end());
        EXPECT_EQ(sounds, (std::vector<std::wstring>{L"chimes.wav", L"ding.WAV"}));
    }
    WriteStoredText(kShellFolders, L"Fonts", root.File(L"Nowhere\\Fonts"));
    {
        TForm2 form(GetModuleHandleW(nullptr), RECT{0, 0, 235, 250});
        EXPECT_TRUE(form.Sounds().empty());  // only the program's own two entries are offered
    }
    if (hadFonts) {
        WriteStoredText(kShellFolders, L"Fonts", saved);
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Fonts");
    }
    for (const wchar_t* name : {L"chimes.wav", L"ding.WAV", L"notes.txt"}) {
        DeleteFileW(root.File(L"Media\\" + std::wstring(name)).c_str());
    }
    RemoveDirectoryW(root.File(L"Media").c_str());
}

// The display's scale, in dots per inch, that a program started now gets, kept in the registry
// for the life of the object and put back afterwards.
class DisplayScale {
  public:
    explicit DisplayScale(DWORD dpi) : old_(ReadStoredValue(kDesktop, L"LogPixels")) {
        testing::WriteStoredValue(kDesktop, L"LogPixels", REG_DWORD,
                                  std::string(reinterpret_cast<const char*>(&dpi), sizeof dpi));
    }
    ~DisplayScale() {
        if (old_) {
            testing::WriteStoredValue(kDesktop, L"LogPixels", old_->type, old_->bytes);
        } else {
            HKEY key;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktop, 0, KEY_SET_VALUE, &key) == 0) {
                RegDeleteValueW(key, L"LogPixels");
                RegCloseKey(key);
            }
        }
    }
    DisplayScale(const DisplayScale&) = delete;
    DisplayScale& operator=(const DisplayScale&) = delete;

  private:
    static constexpr const wchar_t* kDesktop = L"Control Panel\\Desktop";
    std::optional<testing::StoredValue> old_;
};

// Runs this test program again with one test, in a process that starts at the given scale.
DWORD RunScaledChild(DWORD dpi, const char* test) {
    const DisplayScale scale(dpi);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=" +
                               std::wstring(test, test + std::strlen(test));
    SetEnvironmentVariableW(L"VELMORA_EXPECT_DPI", std::to_wstring(dpi).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &info);
    SetEnvironmentVariableW(L"VELMORA_EXPECT_DPI", nullptr);
    if (!started) return 0xFFFFFFFF;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(info.hProcess, &code);
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return code;
}

// At 150 and 200 % the system font grows, and the dialog's client area and every control's place
// grow by the same factor, so no text is cut off; the dialog still ends where the face begins.
TEST_F(Form2Test, OnAScaledDisplayTheLayoutGrowsWithTheText) {
    wchar_t expected[16] = L"";
    if (!GetEnvironmentVariableW(L"VELMORA_EXPECT_DPI", expected, 16)) {
        for (const DWORD dpi : {144u, 192u}) {
            EXPECT_EQ(RunScaledChild(dpi, "Form2Test.OnAScaledDisplay*"), 0u) << dpi << " dpi";
        }
        return;
    }
    // In the child: the scale it was started at.
    const int dpi = std::stoi(expected);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi) << "the display scale was not taken up";
    ReleaseDC(nullptr, screen);
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    Show([&](HWND dialog) {
        RECT bounds, client;
        GetWindowRect(dialog, &bounds);
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, scaled(289));
        EXPECT_EQ(client.bottom, scaled(183));
        EXPECT_EQ(bounds.right, kFace.left);
        const struct {
            int control;
            RECT at100;  // left, top, width, height
        } controls[] = {{IDC_BUTTON1, {199, 22, 75, 25}},
                        {IDC_COMBOBOX1, {32, 135, 208, 0}},
                        {IDC_EDIT2, {60, 44, 16, 15}}};
        for (const auto& c : controls) {
            RECT at;
            GetWindowRect(GetDlgItem(dialog, c.control), &at);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&at), 2);
            EXPECT_EQ(at.left, scaled(c.at100.left)) << c.control;
            EXPECT_EQ(at.top, scaled(c.at100.top)) << c.control;
            EXPECT_EQ(at.right - at.left, scaled(c.at100.right)) << c.control;
            if (c.at100.bottom) {  // a combo box's height is its list's
                EXPECT_EQ(at.bottom - at.top, scaled(c.at100.bottom)) << c.control;
            }
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

}  // namespace
}  // namespace velmora::win
