#include "velmora_process.h"

#include <vector>

namespace velmora::testing {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[256];
    return std::wstring(name, GetClassNameW(window, name, 256));
}

// The current environment with TMP and TEMP replaced, as CreateProcessW takes it.
std::vector<wchar_t> EnvironmentWithTemp(const std::wstring& tempFolder) {
    std::vector<wchar_t> block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        const std::wstring text(entry);
        if (_wcsnicmp(entry, L"TMP=", 4) == 0 || _wcsnicmp(entry, L"TEMP=", 5) == 0) continue;
        block.insert(block.end(), text.begin(), text.end());
        block.push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
    for (const wchar_t* name : {L"TMP=", L"TEMP="}) {
        const std::wstring text = name + tempFolder;
        block.insert(block.end(), text.begin(), text.end());
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
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

std::wstring BuildDirectory() {
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L"\\/") + 1);
}

VelmoraProcess::VelmoraProcess(const std::wstring& tempFolder) {
    const std::wstring exe = BuildDirectory() + L"velmora.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    auto environment = EnvironmentWithTemp(tempFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &info)) {
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

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512];
    return std::wstring(text, GetDlgItemTextW(box, 0xFFFF, text, 512));  // the box's static text
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
