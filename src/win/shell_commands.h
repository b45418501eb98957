#pragma once

#include <windows.h>

#include <string>

namespace velmora::win {

// The program's web site.
constexpr const wchar_t* kWebSite = L"https://www.velmora.example/";

// Opens the system's date and time settings: the control panel applet, started by Rundll32.exe
// in the temporary folder's path with every "temp\" taken out (so C:\temp\ gives C:\).
void OpenDateTimeSettings(HWND owner);

// Opens the program's web site with the user's browser.
void OpenWebSite(HWND owner);

}  // namespace velmora::win
