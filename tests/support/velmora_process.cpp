#include "velmora_process.h"

#include "temp_env.h"

namespace velmora::testing {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[256];
    return std::wstring(name, GetClassNameW(window, name, 256));
}

}  // namespace

ScratchFolder::ScratchFolder(const std::wstring& name) {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"velmora тест " + name + L" " +
            std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring file = path_ + found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(file.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

std::wstring BuildDirectory() {
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L"\\/") + 1);
}

VelmoraProcess::VelmoraProcess(const std::wstring& tempFolder, const std::wstring& otherExe) {
    const std::wstring exe = otherExe.empty() ? BuildDirectory() + L"velmora.exe" : otherExe;
    std::wstring commandLine = L"\"" + exe + L"\"";
    // Through this process's own environment: a child started with the inherited one keeps the
    // rest of the Unix environment Wine runs in (HOME, and with it the sound set-up of some
    // tests), which an environment block of its own would lose.
    const TempEnvironment temp(tempFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

VelmoraProcess::~VelmoraProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

VelmoraWindows VelmoraProcess::Windows() const {
    struct Search {
        DWORD id;
        VelmoraWindows found;
    } search{id_, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->id) return TRUE;
            const std::wstring cls = ClassOf(window);
            if (cls == L"VelmoraApplication") s->found.application = window;
            if (cls == L"TForm1") s->found.main = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

VelmoraWindows VelmoraProcess::WaitForFace(DWORD timeoutMs) const {
    VelmoraWindows windows;
    WaitUntil(
        [&] {
            windows = Windows();
            return windows.main && IsWindowVisible(windows.main);
        },
        timeoutMs);
    return windows;
}

DWORD VelmoraProcess::WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

HWND VelmoraProcess::WaitForMessageBox(DWORD timeoutMs) const {
    struct Search {
        DWORD id;
        HWND box;
    } search{id_, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(
                [](HWND window, LPARAM parameter) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(parameter);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner == s->id && ClassOf(window) == L"#32770" && IsWindowVisible(window)) {
                        s->box = window;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.box != nullptr;
        },
        timeoutMs);
    return search.box;
}

std::string VelmoraProcess::Diagnosis() const {
    if (!process_) return "velmora.exe did not start";
    const DWORD code = WaitForExit(0);
    if (code != STILL_ACTIVE) return "velmora.exe ended with code " + std::to_string(code);
    const HWND box = WaitForMessageBox(0);
    if (!box) return "velmora.exe runs without a face or a message";
    const std::wstring text = MessageBoxText(box);
    std::string narrow(text.size() * 3 + 1, '\0');
    narrow.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(),
                                      static_cast<int>(narrow.size()), nullptr, nullptr));
    return "velmora.exe shows the message: " + narrow;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512];
    return std::wstring(text, GetDlgItemTextW(box, 0xFFFF, text, 512));  // the box's static text
}

POINT TopLeftOf(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return {bounds.left, bounds.top};
}

std::wstring WindowText(HWND window) {
    wchar_t text[512];
    return std::wstring(text, GetWindowTextW(window, text, 512));
}

void VelmoraProcess::Close() const {
    const VelmoraWindows windows = Windows();
    if (windows.main) PostMessageW(windows.main, WM_CLOSE, 0, 0);
}

}  // namespace velmora::testing
