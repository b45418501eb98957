// A stand-in for a program the clock starts through the shell (the date and time applet's
// Rundll32.exe, the browser): it appends its command line and working folder, one line each, to
// calls.txt beside itself, so a test can see how it was started.
#include <windows.h>

#include <string>

int wmain() {
    wchar_t self[MAX_PATH];
    std::wstring log(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    log = log.substr(0, log.find_last_of(L'\\') + 1) + L"calls.txt";
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring text = std::wstring(GetCommandLineW()) + L"\n" + folder + L"\n";

    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
