#include "temp_dir.h"

#include <windows.h>

#include <stdexcept>

namespace velmora::win {

std::wstring GetTempDir() {
    wchar_t buffer[1024];
    const DWORD length = GetTempPathW(1023, buffer);
    // A result above the room given is the size the path would need: the buffer holds nothing.
    if (length == 0 || length > 1023) {
        throw std::runtime_error("The temporary folder cannot be found or its path is too long");
    }
    return std::wstring(buffer, length);
}

}  // namespace velmora::win
