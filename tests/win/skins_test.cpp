// The skins and the autostart mark of the main window, in this process, against the real
// program's archive and the registry of the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "application.h"
#include "face/hands.h"
#include "form1.h"
#include "in_process_clock.h"
#include "registry_access.h"
#include "registry_settings.h"
#include "velmora_process.h"

namespace velmora::win {
namespace {

using testing::kSectionKey;
using testing::kStoreKey;
using testing::ReadStoredValue;
using testing::WriteStoredText;

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SkinsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::DeleteUserKey(kStoreKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora");
    }
    void TearDown() override {
        testing::DeleteUserKey(kStoreKey);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora");
    }

    std::string StoredSkin() const {
        const auto value = ReadStoredValue(kSectionKey, L"skin");
        return value ? value->bytes : "<none>";
    }

    // Which of the three skin items carry the mark, as "wrist", "wall", "antique" or a mix.
    static std::string Marks(const TForm1& form) {
        std::string marks;
        if (form.Menu().Checked(TForm1::N9)) marks += "wrist ";
        if (form.Menu().Checked(TForm1::N10)) marks += "wall ";
        if (form.Menu().Checked(TForm1::N11)) marks += "antique ";
        return marks;
    }

    // The colour of the hour hand 20 pixels out from the centre, at the present minute.
    static uint32_t HourHandColour(const TForm1& form) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        const HandSegment hour = ComputeHands(now.wHour, now.wMinute, 0, "", 0)[0];
        const double dx = hour.X2 - hour.X1, dy = hour.Y2 - hour.Y1;
        const double scale = 20 / std::hypot(dx, dy);
        const int x = static_cast<int>(std::lround(hour.X1 + dx * scale));
        const int y = static_cast<int>(std::lround(hour.Y1 + dy * scale));
        return form.Face().pixels()[y * form.Face().width() + x];
    }

    testing::InProcessClock clock_{L"skins"};
    const testing::ScratchFolder& temp_ = clock_.folder();
    Application& application_ = clock_.application();
};

TEST_F(SkinsTest, TheMenuListsItsItemsInOrderWithTheDefaultInBold) {
    TForm1 form(application_);
    const HMENU menu = form.Menu().Handle();
    const std::vector<std::wstring> expected = {L"Будильник", L"Дата и время", L"Варианты часов",
                                                L"-",         L"Автозагрузка", L"Сайт программы",
                                                L"-",         L"Закрыть"};
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size()));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t caption[64] = L"";
        GetMenuStringW(menu, i, caption, 64, MF_BYPOSITION);
        const bool separator = GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR;
        EXPECT_EQ(separator ? L"-" : std::wstring(caption), expected[i]) << i;
    }
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(TForm1::N4));
    const HMENU skins = GetSubMenu(menu, 2);
    ASSERT_EQ(GetMenuItemCount(skins), 3);
    const wchar_t* names[] = {L"Наручные", L"Настенные", L"Старинные"};
    for (int i = 0; i < 3; ++i) {
        wchar_t caption[64] = L"";
        GetMenuStringW(skins, i, caption, 64, MF_BYPOSITION);
        EXPECT_STREQ(caption, names[i]);
    }
}

TEST_F(SkinsTest, FirstStartShowsTheWristWatchAndStoresIt) {
    TForm1 form(application_);
    EXPECT_EQ(Marks(form), "wrist ");
    EXPECT_EQ(StoredSkin(), std::string("0", 2));
    EXPECT_EQ(form.Face().width(), 235);
    EXPECT_EQ(HourHandColour(form), 0xFFFFFFFFu);
    EXPECT_TRUE(testing::FileExists(temp_.File(L"velmora.png")));
    // The default alarm sound comes out beside it.
    EXPECT_TRUE(testing::FileExists(temp_.File(L"Velmora.wav")));
}

struct StoredSkinCase {
    const wchar_t* stored;
    const char* marks;
    const char* rewritten;
    uint32_t handColour;
    const wchar_t* image;
};

TEST_F(SkinsTest, TheStoredSkinIsShownAndAnyOtherNumberGivesTheWristWatch) {
    const StoredSkinCase cases[] = {
        {L"1", "wall ", "1", 0xFFFFFFFF, L"velmora1.png"},
        {L"2", "antique ", "2", 0xFF000000, L"velmora2.png"},
        {L"3", "wrist ", "0", 0xFFFFFFFF, L"velmora.png"},
        {L"-1", "wrist ", "0", 0xFFFFFFFF, L"velmora.png"},
        {L"letters", "wrist ", "0", 0xFFFFFFFF, L"velmora.png"},
    };
    for (const StoredSkinCase& c : cases) {
        WriteStoredText(kSectionKey, L"skin", c.stored);
        {
            TForm1 form(application_);
            EXPECT_EQ(Marks(form), c.marks) << c.stored;
            EXPECT_EQ(StoredSkin(), std::string(c.rewritten, 2)) << c.stored;
            ASSERT_EQ(form.Face().width(), 235) << c.stored;
            EXPECT_EQ(HourHandColour(form), c.handColour) << c.stored;
            EXPECT_TRUE(testing::FileExists(temp_.File(c.image))) << c.stored;
        }
        DeleteFileW(temp_.File(c.image).c_str());
    }
}

TEST_F(SkinsTest, SwitchingReplacesThePreviousImageAndStoresTheChoice) {
    TForm1 form(application_);
    form.RunCommand(TForm1::N11);
    EXPECT_FALSE(testing::FileExists(temp_.File(L"velmora.png")));
    EXPECT_TRUE(testing::FileExists(temp_.File(L"velmora2.png")));
    EXPECT_EQ(Marks(form), "antique ");
    EXPECT_EQ(StoredSkin(), std::string("2", 2));
    EXPECT_EQ(HourHandColour(form), 0xFF000000u);

    // The wall clock's name has a capital letter and its archive entry none: one file all the
    // same, removed by the next switch.
    form.RunCommand(TForm1::N10);
    EXPECT_TRUE(testing::FileExists(temp_.File(L"velmora1.png")));
    EXPECT_FALSE(testing::FileExists(temp_.File(L"velmora2.png")));
    EXPECT_EQ(Marks(form), "wall ");
    form.RunCommand(TForm1::N9);
    EXPECT_FALSE(testing::FileExists(temp_.File(L"velmora1.png")));
    EXPECT_EQ(Marks(form), "wrist ");
    EXPECT_EQ(StoredSkin(), std::string("0", 2));
}

TEST_F(SkinsTest, ChoosingTheShownSkinAgainExtractsItAnew) {
    TForm1 form(application_);
    const std::wstring image = temp_.File(L"velmora.png");
    HANDLE file = CreateFileW(image.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);  // spoilt: empty
    SetFileAttributesW(image.c_str(), FILE_ATTRIBUTE_READONLY);
    form.RunCommand(TForm1::N9);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(image.c_str(), GetFileExInfoStandard, &data));
    EXPECT_GT(data.nFileSizeLow, 10000u);
    EXPECT_EQ(Marks(form), "wrist ");
}

struct AutostartCase {
    const char* what;
    std::wstring value;
    bool on;
};

TEST_F(SkinsTest, TheAutostartMarkShowsWhetherTheRunValueNamesTheClock) {
    const std::wstring exe = testing::BuildDirectory() + L"velmora.exe";
    std::wstring upper = exe;
    CharUpperW(upper.data());
    const AutostartCase cases[] = {
        {"quoted path", L"\"" + exe + L"\"", true},
        {"unquoted path in other letter case", upper, true},
        {"another copy of the program", L"C:\\Programs\\Velmora\\v.exe", true},
        {"another program", L"C:\\Programs\\velmora\\other.exe", false},
        {"empty text", L"", false},
    };
    for (const AutostartCase& c : cases) {
        WriteStoredText(kRunKey, L"Velmora", c.value);
        TForm1 form(application_);
        EXPECT_EQ(form.Menu().Checked(TForm1::N5), c.on) << c.what;
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora");
    TForm1 form(application_);
    EXPECT_FALSE(form.Menu().Checked(TForm1::N5)) << "no value";
}

TEST_F(SkinsTest, AutostartToggleWritesQuotedPathThenEmptyTextAndTheMarkFollows) {
    TForm1 form(application_);
    const std::wstring quoted = L"\"" + testing::BuildDirectory() + L"velmora.exe\"";
    for (const bool on : {true, false, true}) {
        form.RunCommand(TForm1::N5);
        EXPECT_EQ(form.Menu().Checked(TForm1::N5), on);
        HKEY key;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key), ERROR_SUCCESS);
        wchar_t text[1024] = L"";
        DWORD size = sizeof text, type = 0;
        RegQueryValueExW(key, L"Velmora", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(std::wstring(text), on ? quoted : L"");
    }
}

TEST_F(SkinsTest, AutostartWithoutTheRunKeyIsAnErrorAndTheMarkStays) {
    // The test prefix's Run key is removed for the test and made again after it, values and all.
    std::vector<std::pair<std::wstring, std::wstring>> saved;
    HKEY run;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &run) == ERROR_SUCCESS) {
        wchar_t name[256], data[1024];
        for (DWORD i = 0;; ++i) {
            DWORD nameLength = 256, dataSize = sizeof data, type = 0;
            if (RegEnumValueW(run, i, name, &nameLength, nullptr, &type,
                              reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS) {
                break;
            }
            if (type == REG_SZ) saved.emplace_back(name, data);
        }
        RegCloseKey(run);
    }
    testing::DeleteUserKey(kRunKey);
    {
        TForm1 form(application_);
        EXPECT_FALSE(form.Menu().Checked(TForm1::N5));
        try {
            form.RunCommand(TForm1::N5);
            ADD_FAILURE() << "no error";
        } catch (const RegistryError& error) {
            EXPECT_STREQ(error.what(), "Failed to set data for 'Velmora'");
        }
        EXPECT_FALSE(form.Menu().Checked(TForm1::N5));
    }
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegCloseKey(key);
    for (const auto& [name, value] : saved)
        WriteStoredText(kRunKey, name, value);
}

}  // namespace
}  // namespace velmora::win
