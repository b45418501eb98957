#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::testing {

// A temporary folder of the test's own, with spaces and Cyrillic letters in its path, removed
// with its files at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::wstring& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }  // with a trailing backslash
    std::wstring File(const std::wstring& name) const { return path_ + name; }

  private:
    std::wstring path_;
};

bool FileExists(const std::wstring& path);
// The whole file, read while other programs may still write it; empty when it cannot be opened.
std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
// Makes the file anew with these bytes; whether they were all written.
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

// The directory of the running test program, where velmora.exe is built beside it.
std::wstring BuildDirectory();

// The windows one velmora.exe process shows.
struct VelmoraWindows {
    HWND application = nullptr;  // unowned, titled "Velmora"
    HWND main = nullptr;         // the face
};

// One run of the real velmora.exe, with TMP and TEMP pointing at a folder of the test's choice.
// Ends the process at the end if it still runs.
class VelmoraProcess {
  public:
    // exe: another copy of the program to start instead of the built one.
    explicit VelmoraProcess(const std::wstring& tempFolder, const std::wstring& exe = L"");
    ~VelmoraProcess();
    VelmoraProcess(const VelmoraProcess&) = delete;
    VelmoraProcess& operator=(const VelmoraProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }

    // Waits until the process shows its face; returns its windows (null ones on timeout).
    VelmoraWindows WaitForFace(DWORD timeoutMs = 10000) const;
    // The process's windows as they are now.
    VelmoraWindows Windows() const;
    // Waits for the end of the process; returns its exit code, or STILL_ACTIVE on timeout.
    DWORD WaitForExit(DWORD timeoutMs = 10000) const;
    // Asks the face to close, as the close command does.
    void Close() const;
    // What a test that found no face should say: whether the process ended, and any message box.
    std::string Diagnosis() const;
    // Waits for a message box of the process (a dialog of class #32770); null on timeout.
    HWND WaitForMessageBox(DWORD timeoutMs = 10000) const;

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The text and caption of a message box.
std::wstring MessageBoxText(HWND box);
std::wstring WindowText(HWND window);
// Where a window stands on the screen.
POINT TopLeftOf(HWND window);

// Waits until the condition holds or the time is up; returns the condition's last value.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > end) return false;
        Sleep(50);
    }
    return true;
}

}  // namespace velmora::testing
