#include "single_instance.h"

namespace velmora::win {
namespace {

std::wstring TextOf(HWND window, int capacity) {
    std::wstring text(capacity, L'\0');
    text.resize(GetWindowTextW(window, text.data(), capacity));
    return text;
}

}  // namespace

bool AnotherInstanceRuns(HWND ownApplicationWindow, const std::wstring& title,
                         const std::wstring& windowClass) {
    for (HWND window = GetWindow(ownApplicationWindow, GW_HWNDFIRST); window;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == ownApplicationWindow || GetWindow(window, GW_OWNER)) continue;
        if (TextOf(window, 128) != title) continue;
        wchar_t className[64];
        const int length = GetClassNameW(window, className, 64);
        if (std::wstring(className, length) == windowClass) return true;
    }
    return false;
}

}  // namespace velmora::win
