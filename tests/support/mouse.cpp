#include "mouse.h"

namespace velmora::testing {
namespace {

void Send(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(30);  // let the program see each step, as a hand would give it time
}

}  // namespace

void MoveMouseTo(int x, int y) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    Send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (x * 65535 + width / 2) / (width - 1),
         (y * 65535 + height / 2) / (height - 1));
}

void PressButton(DWORD downFlag) {
    Send(downFlag);
}
void ReleaseButton(DWORD upFlag) {
    Send(upFlag);
}

void DragWith(DWORD downFlag, DWORD upFlag, POINT from, POINT to) {
    MoveMouseTo(from.x, from.y);
    PressButton(downFlag);
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        MoveMouseTo(from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps);
    }
    ReleaseButton(upFlag);
}

}  // namespace velmora::testing
