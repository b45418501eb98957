#pragma once

#include <windows.h>

#include <string>

namespace velmora::win {

// The application title: the text of the application window, by which a second start finds
// this one, and the caption of the program's messages.
constexpr const wchar_t* kApplicationTitle = L"Velmora";

// The application object: its title, the hidden application window that carries the title and
// owns every form, the message loop and the standard error report.
class Application {
  public:
    // exeName is the program file whose archive holds the skins and the alarm sound, and which
    // autostart names: the running executable unless a test says otherwise.
    Application(HINSTANCE instance, std::wstring title, std::wstring exeName = RunningExecutable());
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The one application object of the process.
    static Application& Current() { return *current_; }

    HINSTANCE Instance() const { return instance_; }
    const std::wstring& Title() const { return title_; }
    const std::wstring& ExeName() const { return exeName_; }
    static std::wstring RunningExecutable();
    HWND Handle() const { return window_; }

    // Window class of the application window: with the title, it tells another instance of this
    // program apart from other windows that happen to have the same text.
    static constexpr const wchar_t* kWindowClass = L"VelmoraApplication";

    // Shows the main window, then dispatches messages until the main window has been destroyed.
    // Returns the exit code.
    int Run(HWND mainWindow);

    // The standard error report: the message with its full stop, the title as caption and the
    // error icon. While one report is open, further ones are dropped rather than stacked.
    void ShowError(const std::wstring& message);

  private:
    static Application* current_;
    HINSTANCE instance_;
    std::wstring title_;
    std::wstring exeName_;
    HWND window_ = nullptr;
    HWND mainWindow_ = nullptr;
    bool reporting_ = false;
};

}  // namespace velmora::win
