#pragma once

#include <windows.h>

namespace velmora::testing {

// Real mouse input, as the user gives it: the pointer moves and buttons go down and up.
void MoveMouseTo(int x, int y);
void PressButton(DWORD downFlag);  // MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN
void ReleaseButton(DWORD upFlag);  // MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP

// Presses a button at one screen point, moves in small steps to another, and releases it there.
void DragWith(DWORD downFlag, DWORD upFlag, POINT from, POINT to);

}  // namespace velmora::testing
