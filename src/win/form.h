#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace velmora::win {

class Timer;

// A top-level window whose messages go to a C++ object. Derived forms override HandleMessage
// and keep one line per message there, each calling a handler. An exception that leaves a
// handler is shown by the application's standard error report and the program goes on.
class Form {
  public:
    Form() = default;
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND Handle() const { return window_; }
    POINT Position() const;  // Left, Top on the screen

  protected:
    // Registers the class on first use and creates the window, hidden.
    void CreateHandle(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle,
                      HWND owner, const wchar_t* caption, RECT bounds);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs a handler, reporting what escapes it.
    static void Guarded(const std::function<void()>& handler);

  private:
    friend class Timer;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void DispatchTimer(UINT_PTR id);

    HWND window_ = nullptr;
    std::vector<Timer*> timers_;
};

// A message-based timer of a form: WM_TIMER with the timer's id calls its handler.
class Timer {
  public:
    Timer(Form& owner, UINT interval, bool enabled, std::function<void()> onTimer);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }

  private:
    friend class Form;

    Form& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_ = false;
    std::function<void()> onTimer_;
};

}  // namespace velmora::win
