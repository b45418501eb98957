#include "shell_commands.h"

#include <shellapi.h>

#include "temp_dir.h"
#include "text/strings.h"

namespace velmora::win {

void OpenDateTimeSettings(HWND owner) {
    const std::wstring folder = ReplaceAll<wchar_t>(GetTempDir(), L"temp\\", L"");
    // What the shell answers is not looked at: the applet is the system's own.
    ShellExecuteW(owner, L"Open", L"Rundll32.exe", L"shell32.dll,Control_RunDLL TIMEDATE.CPL",
                  folder.c_str(), SW_HIDE);
}

void OpenWebSite(HWND owner) {
    ShellExecuteW(owner, L"open", kWebSite, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace velmora::win
