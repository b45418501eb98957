#pragma once

#include <windows.h>

#include <utility>

namespace velmora::win {

// Owns one handle and frees it through Traits::Free; moves but never copies, so a handle is freed
// exactly once.
template <class Handle, class Traits>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{}) Traits::Free(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_{};
};

struct GdiObjectTraits {
    static void Free(HGDIOBJ object) { DeleteObject(object); }
};
struct MemoryDCTraits {
    static void Free(HDC dc) { DeleteDC(dc); }
};
struct WindowTraits {
    static void Free(HWND window) { DestroyWindow(window); }
};
struct MenuTraits {
    static void Free(HMENU menu) { DestroyMenu(menu); }
};

struct IconTraits {
    static void Free(HICON icon) { DestroyIcon(icon); }
};

// Files, threads and other kernel objects.
struct KernelObjectTraits {
    static void Free(HANDLE object) { CloseHandle(object); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueMemoryDC = UniqueHandle<HDC, MemoryDCTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
// Empty is null: callers turn INVALID_HANDLE_VALUE into null on the way in.
using UniqueFile = UniqueHandle<HANDLE, KernelObjectTraits>;
using UniqueThread = UniqueHandle<HANDLE, KernelObjectTraits>;

// The device context of a window (the whole screen for a null window), given back on scope exit.
class WindowDC {
  public:
    explicit WindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back on scope exit, so the
// object can be deleted afterwards.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace velmora::win
