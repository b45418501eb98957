#include "shell_commands.h"

#include <shellapi.h>

#include "system_library.h"
#include "temp_dir.h"
#include "text/strings.h"

namespace velmora::win {
namespace {

// The shell, loaded with the first command that needs it rather than with the program.
void RunShell(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
              const wchar_t* folder, int show) {
    static auto* const execute =
        LateBound<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (execute) execute(owner, verb, file, parameters, folder, show);
}

}  // namespace

void OpenDateTimeSettings(HWND owner) {
    const std::wstring folder = ReplaceAll<wchar_t>(GetTempDir(), L"temp\\", L"");
    // What the shell answers is not looked at: the applet is the system's own.
    RunShell(owner, L"Open", L"Rundll32.exe", L"shell32.dll,Control_RunDLL TIMEDATE.CPL",
             folder.c_str(), SW_HIDE);
}

void OpenWebSite(HWND owner) {
    RunShell(owner, L"open", kWebSite, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace velmora::win
