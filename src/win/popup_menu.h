#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "handles.h"

namespace velmora::win {

// One entry of a popup menu: a command, a separator (caption "-") or a submenu (items).
struct MenuItemDef {
    UINT id = 0;
    std::wstring caption;
    std::function<void()> onClick;
    bool isDefault = false;  // shown in bold
    std::vector<MenuItemDef> items;
};

inline MenuItemDef Command(UINT id, std::wstring caption, std::function<void()> onClick,
                           bool isDefault = false) {
    return {id, std::move(caption), std::move(onClick), isDefault, {}};
}
inline MenuItemDef Separator() {
    return {0, L"-", nullptr, false, {}};
}
inline MenuItemDef Submenu(UINT id, std::wstring caption, std::vector<MenuItemDef> items) {
    return {id, std::move(caption), nullptr, false, std::move(items)};
}

// A popup menu built once from a table, opened at a screen point; the chosen item's handler runs
// after the menu has closed.
class PopupMenu {
  public:
    explicit PopupMenu(std::vector<MenuItemDef> items);

    HMENU Handle() const { return menu_.get(); }
    void SetChecked(UINT id, bool checked);
    bool Checked(UINT id) const;

    // Opens the menu and waits for a choice; returns the chosen id, 0 when nothing was chosen.
    UINT Popup(HWND owner, POINT screen);
    // Runs the handler of an item, as a choice from the menu does.
    void Click(UINT id);

  private:
    static HMENU Build(const std::vector<MenuItemDef>& items);
    static const MenuItemDef* Find(const std::vector<MenuItemDef>& items, UINT id);

    std::vector<MenuItemDef> items_;
    UniqueMenu menu_;
};

}  // namespace velmora::win
