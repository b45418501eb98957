#include "form1.h"

#include <windowsx.h>

#include "application.h"
#include "face/hands.h"
#include "single_instance.h"
#include "temp_dir.h"
#include "text/strings.h"
#include "unicode.h"

namespace velmora::win {
namespace {

// Until the skins come out of the program's own archive, the face starts with this skin, which
// must already be in the temporary folder, and with white hands.
constexpr const wchar_t* kStartSkin = L"velmora";
constexpr uint32_t kStartHandColor = 0xFFFFFFFF;

constexpr const wchar_t* kStoreKey = L"Software\\Zanfor";
constexpr const wchar_t* kSection = L"Velmora";
// Every skin is this size; a restored position is checked against it before the first render.
constexpr int kFaceWidth = 235;
constexpr int kFaceHeight = 250;

// Clears a flag when a scope ends, however it ends.
class BusyScope {
  public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& flag_;
};

std::wstring SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = text ? text : L"";
    LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r'))
        result.pop_back();
    return result;
}

}  // namespace

TForm1::TForm1(Application& application)
    : application_(application), Timer1(*this, 1000, true, [this] { Timer1Timer(); }) {
    CreateHandle(L"TForm1", CS_DBLCLKS, WS_POPUP, WS_EX_TOPMOST, application.Handle(), L"Velmora",
                 RECT{0, 0, 306, 262});
    // Like any handler, an error in the start-up sequence skips only its remaining steps.
    Guarded([this] { FormCreate(); });
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam) FormShow();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            FormMouseDown(true, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
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
            ReleaseCapture();
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
    Settings = std::make_unique<RegistrySettings>(kStoreKey);
    RestorePosition();
    HandColor = kStartHandColor;
    RenderFace(kStartSkin, true);
}

int32_t TForm1::ReadStartupInteger(const wchar_t* name, int32_t fallback) {
    // A value of the wrong type is reported and replaced by its default, so that one bad value
    // does not leave the clock half started.
    try {
        return Settings->ReadInteger(kSection, name, fallback);
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
    // A face partly off the screen stays where it was; one that no monitor shows at all (a
    // monitor unplugged since) could never be reached again, so it comes back to the default.
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
    Settings->WriteInteger(kSection, L"top", position.y);
    Settings->WriteInteger(kSection, L"left", position.x);
}

void TForm1::FormShow() {
    // The application window would carry a task-bar button; the face, being owned, has none.
    if (IsWindowVisible(application_.Handle())) ShowWindow(application_.Handle(), SW_HIDE);
}

void TForm1::FormMouseDown(bool leftButton, int x, int y) {
    DragX = x;
    DragY = y;
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

void TForm1::FormClose() {
    // A failed write is reported, and the clock closes all the same: the user asked it to.
    Guarded([this] { StorePosition(); });
    DestroyWindow(Handle());
}

void TForm1::FormDestroy() {
    Timer1.SetEnabled(false);
    face_.Release();
    if (!SkinName.empty()) DeleteFileW(SkinImagePath().c_str());  // a failure is of no concern
    PostQuitMessage(0);
}

void TForm1::Timer1Timer() {
    try {
        RenderFace(SkinName, false);
        tickFailures_.Succeeded();
    } catch (const std::exception& error) {
        if (tickFailures_.ShouldReport(Widen(error.what()))) throw;
    }
}

std::wstring TForm1::SkinImagePath() const {
    return TempDir + SkinName + L".png";
}

void TForm1::EnsureLayered() {
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    if (style & WS_EX_LAYERED) return;
    SetLastError(0);
    if (SetWindowLongPtrW(Handle(), GWL_EXSTYLE, style | WS_EX_LAYERED) == 0 &&
        GetLastError() != 0) {
        const std::wstring text = SystemErrorText(GetLastError());
        // A plain message, not the error report: no icon, the title as caption.
        if (layeredFailures_.ShouldReport(text)) {
            MessageBoxW(Handle(), text.c_str(), application_.Title().c_str(), MB_OK);
        }
        return;
    }
    layeredFailures_.Succeeded();
}

void TForm1::SizeToSkin() {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    if (bounds.right - bounds.left == skin_.width && bounds.bottom - bounds.top == skin_.height) {
        return;
    }
    SetWindowPos(Handle(), nullptr, 0, 0, skin_.width, skin_.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::RenderFace(const std::wstring& skinName, bool reload) {
    // Message boxes run nested message loops that deliver further ticks: those are skipped.
    if (rendering_) return;
    BusyScope busy(rendering_);

    SkinName = skinName;
    EnsureLayered();
    if (reload) {
        TempDir = WithTrailingSeparator(GetTempDir());
        skin_ = LoadSkinImage(SkinImagePath());
    } else if (skin_.empty() && !SkinName.empty()) {
        // The image was missing when the skin was applied: the face appears once it is there.
        skin_ = LoadSkinImage(SkinImagePath());
    }
    SizeToSkin();
    if (skin_.empty()) return;

    SYSTEMTIME now;
    GetLocalTime(&now);
    const auto hands = ComputeHands(now.wHour, now.wMinute, now.wSecond, AlarmTime, HandColor);
    face_.Compose(skin_, hands);
    face_.Present(Handle(), Position());
}

}  // namespace velmora::win
