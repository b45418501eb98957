#include "popup_menu.h"

namespace velmora::win {

PopupMenu::PopupMenu(std::vector<MenuItemDef> items)
    : items_(std::move(items)), menu_(Build(items_)) {}

HMENU PopupMenu::Build(const std::vector<MenuItemDef>& items) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItemDef& item : items) {
        if (item.caption == L"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item.items.empty()) {
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(Build(item.items)),
                        item.caption.c_str());
        } else {
            AppendMenuW(menu, MF_STRING, item.id, item.caption.c_str());
            if (item.isDefault) SetMenuDefaultItem(menu, item.id, FALSE);
        }
    }
    return menu;
}

const MenuItemDef* PopupMenu::Find(const std::vector<MenuItemDef>& items, UINT id) {
    for (const MenuItemDef& item : items) {
        if (item.id == id && item.items.empty() && item.caption != L"-") return &item;
        if (const MenuItemDef* found = Find(item.items, id)) return found;
    }
    return nullptr;
}

void PopupMenu::SetChecked(UINT id, bool checked) {
    CheckMenuItem(menu_.get(), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool PopupMenu::Checked(UINT id) const {
    return (GetMenuState(menu_.get(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

UINT PopupMenu::Popup(HWND owner, POINT screen) {
    // The owner must be the foreground window, or the menu does not close when the user clicks
    // elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x,
        screen.y, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen) Click(chosen);
    return chosen;
}

void PopupMenu::Click(UINT id) {
    const MenuItemDef* item = Find(items_, id);
    if (item && item->onClick) item->onClick();
}

}  // namespace velmora::win
