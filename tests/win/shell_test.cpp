// Small pieces of the Win32 shell: the popup menu built from its table, the temporary folder.
#include <gtest/gtest.h>

#include "popup_menu.h"
#include "temp_dir.h"
#include "velmora_process.h"

namespace velmora::win {
namespace {

TEST(PopupMenuTest, BuildsItemsSeparatorsSubmenusAndTheDefaultFromItsTable) {
    std::vector<UINT> clicked;
    auto record = [&](UINT id) { return [&clicked, id] { clicked.push_back(id); }; };
    PopupMenu menu({
        Command(6, L"Будильник", record(6)),
        Command(4, L"Дата и время", record(4), true),
        Submenu(8, L"Скины",
                {Command(9, L"Наручные", record(9)), Command(10, L"Настенные", record(10))}),
        Separator(),
        Command(1, L"Закрыть", record(1)),
    });
    HMENU handle = menu.Handle();
    ASSERT_EQ(GetMenuItemCount(handle), 5);
    wchar_t caption[64];
    GetMenuStringW(handle, 1, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"Дата и время");
    EXPECT_EQ(GetMenuDefaultItem(handle, FALSE, 0), 4u);
    EXPECT_TRUE(GetMenuState(handle, 3, MF_BYPOSITION) & MF_SEPARATOR);
    HMENU skins = GetSubMenu(handle, 2);
    ASSERT_TRUE(skins);
    EXPECT_EQ(GetMenuItemCount(skins), 2);

    EXPECT_FALSE(menu.Checked(10));
    menu.SetChecked(10, true);
    EXPECT_TRUE(menu.Checked(10));
    EXPECT_FALSE(menu.Checked(9));
    menu.SetChecked(10, false);
    EXPECT_FALSE(menu.Checked(10));

    menu.Click(10);
    menu.Click(1);
    menu.Click(8);   // a submenu is not a command
    menu.Click(77);  // nor is an unknown id
    EXPECT_EQ(clicked, (std::vector<UINT>{10, 1}));
}

TEST(TempDirTest, ReportsAFolderWithSpacesAndCyrillicLettersAsItIs) {
    const std::wstring folder = L"C:\\Пользователь с пробелами\\Темп\\";
    wchar_t saved[1024];
    const DWORD length = GetEnvironmentVariableW(L"TMP", saved, 1024);
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    const std::wstring reported = GetTempDir();
    SetEnvironmentVariableW(L"TMP", length ? saved : nullptr);
    EXPECT_EQ(reported, folder);
}

}  // namespace
}  // namespace velmora::win
