#include "application.h"

#include "app/error_report.h"
#include "resource_ids.h"

namespace velmora::win {

Application* Application::current_ = nullptr;

std::wstring Application::RunningExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

Application::Application(HINSTANCE instance, std::wstring title, std::wstring exeName)
    : instance_(instance), title_(std::move(title)), exeName_(std::move(exeName)) {
    current_ = this;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELMORA));
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
    // Zero-sized, unowned and never shown: it is never on the task bar, and another instance finds
    // this one by it.
    window_ = CreateWindowExW(0, kWindowClass, title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance_, nullptr);
}

Application::~Application() {
    if (window_) DestroyWindow(window_);
    current_ = nullptr;
}

int Application::Run(HWND mainWindow) {
    mainWindow_ = mainWindow;
    // A clock that starts with the user's logon must not take the keyboard from what the user
    // is doing; a click on the face activates it.
    ShowWindow(mainWindow, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    mainWindow_ = nullptr;
    return 0;
}

void Application::ShowError(const std::wstring& message) {
    if (reporting_) return;
    reporting_ = true;
    // Owned by the face, the box stays above it although the face is always on top.
    MessageBoxW(mainWindow_ ? mainWindow_ : window_, ErrorReportText(message).c_str(),
                title_.c_str(), MB_OK | MB_ICONERROR);
    reporting_ = false;
}

}  // namespace velmora::win
