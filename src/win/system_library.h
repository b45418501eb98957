#pragma once

#include <windows.h>

namespace velmora::win {

// A DLL of the system folder, loaded on the first call for it rather than with the program: the
// DLLs the clock needs only for a menu command or the alarm (the shell's, the sound's) stay out
// of its start-up. It stays loaded for the life of the process; null when it cannot be loaded.
HMODULE SystemLibrary(const wchar_t* dll);

// A function a loaded DLL exports, as a pointer of its own type; null when there is none.
template <class Function>
Function* Exported(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A function of a system DLL, loading the DLL if need be.
template <class Function>
Function* LateBound(const wchar_t* dll, const char* name) {
    return Exported<Function>(SystemLibrary(dll), name);
}

}  // namespace velmora::win
