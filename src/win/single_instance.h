#pragma once

#include <windows.h>

#include <string>

namespace velmora::win {

// True when another instance of this program runs: some top-level window other than our own
// application window has no owner, carries exactly the application title and is of the
// application window's class. A foreign window that merely has the same text (a folder named
// after the program, say) does not count.
bool AnotherInstanceRuns(HWND ownApplicationWindow, const std::wstring& title,
                         const std::wstring& windowClass);

}  // namespace velmora::win
