// The main window's life cycle: start-up, mouse, keys, closing.
#include "form1.h"

#include <windowsx.h>

#include "application.h"
#include "face/plain_dial.h"
#include "form2.h"
#include "resource_archive.h"
#include "single_instance.h"
#include "temp_dir.h"
#include "unicode.h"

namespace velmora::win {

TForm1::TForm1(Application& application)
    : application_(application),
      Timer1(*this, 1000, true, [this] { Timer1Timer(); }),
      Timer2(*this, 30, false, [this] { Timer2Timer(); }),
      // The system raises the interval to its shortest, about 10 ms.
      Timer3(*this, 1, false, [this] { Timer3Timer(); }),
      PopupMenu1(BuildMenu()) {
    CreateHandle(L"TForm1", CS_DBLCLKS, WS_POPUP, WS_EX_TOPMOST, application.Handle(), L"Velmora",
                 RECT{0, 0, 306, 262});
    // Like any handler, an error in the start-up sequence skips only its remaining steps.
    Guarded([this] { FormCreate(); });
    // A start-up that failed before its first render still shows a face at once, not a second
    // later with the first tick.
    if (!face_.width()) Guarded([this] { RenderFace(SkinName, false); });
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam) FormShow();
            break;
        case WM_LBUTTONDOWN:
            FormMouseDown(true, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONDBLCLK:
            FormMouseDown(true, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            FormDblClick();
            return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            FormMouseDown(false, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            FormMouseMove(wParam);
            return 0;
        case WM_LBUTTONUP:
            FormMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            FormKeyDown(wParam);
            break;
        case WM_CONTEXTMENU:
            FormContextMenu(lParam);
            return 0;
        case WM_CLOSE:
            FormClose();
            return 0;
        case WM_DESTROY:
            FormDestroy();
            return 0;
    }
    return Default(message, wParam, lParam);
}

void TForm1::FormCreate() {
    if (AnotherInstanceRuns(application_.Handle(), application_.Title(),
                            Application::kWindowClass)) {
        ExitProcess(0);  // silently, before anything is shown or stored
    }
    Settings = std::make_unique<RegistrySettings>(kStoreKeyPath);
    RestorePosition();
    ApplyStoredSkin();
    ShowAutostartMark();
    LoadAlarmTime();
    EnsureDefaultSound();
}

void TForm1::LoadAlarmTime() {
    try {
        AlarmTime = Narrow(Settings->ReadString(kSettingsSection, L"bud", L""));
    } catch (const RegistryError& error) {
        // Reported; the clock starts without an alarm rather than half started.
        application_.ShowError(Widen(error.what()));
        AlarmTime.clear();
    }
}

void TForm1::EnsureDefaultSound() {
    // A file of that name already there is used as it is, whatever it holds.
    const std::wstring folder = GetTempDir();
    if (!DefaultSoundPresent(folder))
        ExtractResource(application_.ExeName(), kDefaultSound, folder);
}

int32_t TForm1::ReadStartupInteger(const wchar_t* name, int32_t fallback) {
    // A value of the wrong type is reported and replaced by its default, so that one bad value
    // does not leave the clock half started.
    try {
        return Settings->ReadInteger(kSettingsSection, name, fallback);
    } catch (const RegistryError& error) {
        application_.ShowError(Widen(error.what()));
        return fallback;
    }
}

void TForm1::RestorePosition() {
    const int32_t defaultTop = 150;
    const int32_t defaultLeft = GetSystemMetrics(SM_CXSCREEN) - 250;
    int32_t top = ReadStartupInteger(L"top", defaultTop);
    int32_t left = ReadStartupInteger(L"left", defaultLeft);
    // Every face is of one size, so the place is checked before the first render. A face partly
    // off the screen stays where it was; one that no monitor shows at all (a monitor unplugged
    // since) could never be reached again, so it comes back to the default.
    const RECT face{left, top, left + kFaceWidth, top + kFaceHeight};
    if (!MonitorFromRect(&face, MONITOR_DEFAULTTONULL)) {
        top = defaultTop;
        left = defaultLeft;
    }
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::StorePosition() {
    if (!Settings) return;  // start-up ended before the store was opened
    const POINT position = Position();
    Settings->WriteInteger(kSettingsSection, L"top", position.y);
    Settings->WriteInteger(kSettingsSection, L"left", position.x);
}

void TForm1::FormShow() {
    // The application window would carry a task-bar button; the face, being owned, has none.
    if (IsWindowVisible(application_.Handle())) ShowWindow(application_.Handle(), SW_HIDE);
}

void TForm1::FormMouseDown(bool leftButton, int x, int y) {
    DragX = x;
    DragY = y;
    if (leftButton) pressedOnFace_ = true;
    // Held until the button is released, so a drag goes on when the cursor leaves the face.
    if (leftButton) SetCapture(Handle());
}

void TForm1::FormMouseMove(WPARAM keys) {
    if (!(keys & MK_LBUTTON)) return;
    POINT cursor;
    GetCursorPos(&cursor);
    SetWindowPos(Handle(), nullptr, cursor.x - DragX, cursor.y - DragY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::FormMouseUp(int x, int y) {
    ReleaseCapture();
    // A click: the press was on the face and the release is inside the window, wherever the
    // window has moved in between.
    RECT client;
    GetClientRect(Handle(), &client);
    const bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
    if (pressedOnFace_ && inside) FormClick();
    pressedOnFace_ = false;
}

void TForm1::FormClick() {
    // After the first cycle a click stops the shake and puts the face back where it began.
    if (!ClickStopsShake(shake_)) return;
    shake_ = ShakeState{};
    Timer2.SetEnabled(false);
    SetWindowPos(Handle(), nullptr, HomeLeft, HomeTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::FormDblClick() {
    N4Click();
}

void TForm1::FormKeyDown(WPARAM key) {
    // F5 sets the wall clock bouncing; any other key, or F5 again, stops the bounce.
    if (key == VK_F5 && !Timer3.Enabled() && PopupMenu1.Checked(N10)) {
        BounceDY = 10;
        Timer3.SetEnabled(true);
    } else {
        Timer3.SetEnabled(false);
    }
}

void TForm1::FormContextMenu(LPARAM position) {
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (at.x == -1 && at.y == -1) at = Position();  // from the keyboard: the face's corner
    PopupMenu1.Popup(Handle(), at);
}

void TForm1::FormClose() {
    // A failed write is reported, and the clock closes all the same: the user asked it to.
    Guarded([this] { StorePosition(); });
    DestroyWindow(Handle());
}

void TForm1::FormDestroy() {
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(false);
    Timer3.SetEnabled(false);
    face_.Release();
    if (!SkinName.empty()) DeleteFileW(SkinImagePath().c_str());  // a failure is of no concern
    PostQuitMessage(0);
}

}  // namespace velmora::win
