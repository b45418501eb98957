#pragma once

#include <windows.h>

namespace velmora::testing {

// Presses and releases one key, as the user would, to whatever has the keyboard.
void PressKey(WORD virtualKey);
// Presses a key several times.
void PressKeys(WORD virtualKey, int times);

}  // namespace velmora::testing
