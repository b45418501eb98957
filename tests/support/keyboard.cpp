#include "keyboard.h"

namespace velmora::testing {

void PressKey(WORD virtualKey) {
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    Sleep(60);
}

void PressKeys(WORD virtualKey, int times) {
    for (int i = 0; i < times; ++i)
        PressKey(virtualKey);
}

}  // namespace velmora::testing
