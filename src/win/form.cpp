#include "form.h"

#include <algorithm>
#include <exception>

#include "application.h"
#include "unicode.h"

namespace velmora::win {

Form::~Form() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

POINT Form::Position() const {
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    return {bounds.left, bounds.top};
}

void Form::CreateHandle(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle,
                        HWND owner, const wchar_t* caption, RECT bounds) {
    HINSTANCE instance = Application::Current().Instance();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, className, &windowClass)) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = classStyle;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = className;
        RegisterClassExW(&windowClass);
    }
    CreateWindowExW(exStyle, className, caption, style, bounds.left, bounds.top,
                    bounds.right - bounds.left, bounds.bottom - bounds.top, owner, nullptr,
                    instance, this);
    // Timers enabled before the window existed start now.
    for (Timer* timer : timers_) {
        if (timer->enabled_) SetTimer(window_, timer->id_, timer->interval_, nullptr);
    }
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT Form::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        Application::Current().ShowError(Widen(error.what()));
    }
}

void Form::DispatchTimer(UINT_PTR id) {
    for (Timer* timer : timers_) {
        if (timer->id_ == id && timer->enabled_) Guarded(timer->onTimer_);
    }
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_TIMER) {
        form->DispatchTimer(wParam);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // Nothing may leave a window procedure as an exception: it would unwind through the system.
    LRESULT result = 0;
    Guarded([&] { result = form->HandleMessage(message, wParam, lParam); });
    return result;
}

Timer::Timer(Form& owner, UINT interval, bool enabled, std::function<void()> onTimer)
    : owner_(owner),
      id_(owner.timers_.size() + 1),
      interval_(interval),
      onTimer_(std::move(onTimer)) {
    owner_.timers_.push_back(this);
    SetEnabled(enabled);
}

Timer::~Timer() {
    SetEnabled(false);
    auto& timers = owner_.timers_;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!owner_.Handle()) return;
    if (enabled_) {
        SetTimer(owner_.Handle(), id_, interval_, nullptr);
    } else {
        KillTimer(owner_.Handle(), id_);
    }
}

}  // namespace velmora::win
