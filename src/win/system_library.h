#pragma once

#include <windows.h>

namespace velmora::win {

// A function of a DLL in the system folder, which is loaded on the first call for it rather than
// with the program: the DLLs the clock needs only for a menu command or the alarm (the shell's,
// the sound's) stay out of its start-up. Null when the DLL or the function cannot be had.
FARPROC SystemFunction(const wchar_t* dll, const char* name);

template <class Function>
Function* LateBound(const wchar_t* dll, const char* name) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(SystemFunction(dll, name)));
}

}  // namespace velmora::win
