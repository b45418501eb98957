// The face: composing the skin and the hands and handing them to the window every second.
#include "form1.h"

#include "application.h"
#include "face/hands.h"
#include "face/plain_dial.h"
#include "form2.h"
#include "resource_archive.h"
#include "temp_dir.h"
#include "text/strings.h"
#include "unicode.h"

namespace velmora::win {
namespace {

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
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) {
        result.pop_back();
    }
    return result;
}

}  // namespace

void TForm1::CheckAlarm(const SYSTEMTIME& now) {
    // Compared as numbers from the clock, not as text in the user's time format, and once for
    // each day's occurrence however the ticks fall in the alarm minute.
    if (AlarmTime.empty() || !alarm_.Check(AlarmTime, {now.wYear, now.wMonth, now.wDay, now.wHour,
                                                       now.wMinute, now.wSecond})) {
        return;
    }
    const std::wstring sound =
        Settings ? Settings->ReadString(kSettingsSection, L"sound", kDefaultSound) : kDefaultSound;
    if (Form2) Form2->PlayAlarmSound(sound);
    if (Settings ? Settings->ReadBool(kSettingsSection, L"eff", true) : true) {
        const POINT home = Position();
        HomeLeft = home.x;
        HomeTop = home.y;
        Timer2.SetEnabled(true);  // a shake already running goes on
    }
}

void TForm1::Timer2Timer() {
    const ShakeTickResult tick = ShakeTick(shake_);
    shake_ = tick.state;
    if (tick.moveX || tick.moveY) {
        const POINT at = Position();
        SetWindowPos(Handle(), nullptr, at.x + tick.moveX, at.y + tick.moveY, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (tick.finished) Timer2.SetEnabled(false);
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

void TForm1::SizeTo(const SkinImage& shown) {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    if (bounds.right - bounds.left == shown.width && bounds.bottom - bounds.top == shown.height) {
        return;
    }
    SetWindowPos(Handle(), nullptr, 0, 0, shown.width, shown.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const SkinImage& TForm1::ShownImage() {
    if (!skin_.empty()) return skin_;
    // Without its image (an archive damaged, a full disk, a locked file) the face would be an
    // invisible window nobody could reach: a plain dial stands in until the image can be had.
    if (plainDial_.empty()) plainDial_ = {kFaceWidth, kFaceHeight, PlainDial()};
    return plainDial_;
}

void TForm1::RenderFace(const std::wstring& skinName, bool reload) {
    // Message boxes run nested message loops that deliver further ticks: those are skipped.
    if (rendering_) return;
    BusyScope busy(rendering_);

    SkinName = skinName;
    EnsureLayered();
    if (reload) {
        TempDir = WithTrailingSeparator(GetTempDir());
        ExtractResource(application_.ExeName(), SkinName + L".png", TempDir);
        skin_ = LoadSkinImage(SkinImagePath());
    } else if (skin_.empty() && !SkinName.empty()) {
        // The image was missing when the skin was applied: the face appears once it is there.
        skin_ = LoadSkinImage(SkinImagePath());
    }
    const SkinImage& shown = ShownImage();
    SizeTo(shown);

    SYSTEMTIME now;
    GetLocalTime(&now);
    CheckAlarm(now);
    const auto hands = ComputeHands(now.wHour, now.wMinute, now.wSecond, AlarmTime, HandColor);
    face_.Compose(shown, hands);
    face_.Present(Handle(), Position());
}

}  // namespace velmora::win
