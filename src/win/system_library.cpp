#include "system_library.h"

#include <string>

namespace velmora::win {

HMODULE SystemLibrary(const wchar_t* dll) {
    // By its full path, so that no DLL of that name in the program's or the current folder is
    // taken instead.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + dll;
    const HMODULE loaded = GetModuleHandleW(path.c_str());
    return loaded ? loaded : LoadLibraryW(path.c_str());
}

}  // namespace velmora::win
