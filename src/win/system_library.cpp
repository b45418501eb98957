#include "system_library.h"

#include <string>

namespace velmora::win {

FARPROC SystemFunction(const wchar_t* dll, const char* name) {
    // By its full path, so that no DLL of that name in the program's or the current folder is
    // taken instead. It stays loaded for the life of the process, as an imported one would.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + dll;
    HMODULE module = GetModuleHandleW(path.c_str());
    if (!module) module = LoadLibraryW(path.c_str());
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace velmora::win
