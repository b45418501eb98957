#include "message_box_answerer.h"

namespace velmora::testing {
std::vector<HWND> OwnMessageBoxes() {
    std::vector<HWND> boxes;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t cls[16];
            GetClassNameW(window, cls, 16);
            if (process == GetCurrentProcessId() && std::wstring(cls) == L"#32770" &&
                IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers)
    : answers_(std::move(answers)), thread_([this] { Run(); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    stop_ = true;
    thread_.join();
}

void MessageBoxAnswerer::Run() {
    HWND answered = nullptr;
    size_t next = 0;
    while (!stop_) {
        const std::vector<HWND> boxes = OwnMessageBoxes();
        const HWND box = boxes.empty() ? nullptr : boxes.front();
        if (box && box != answered && next < answers_.size()) {
            wchar_t text[1024];
            const int length = GetDlgItemTextW(box, 0xFFFF, text, 1024);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                texts_.emplace_back(text, length);
            }
            PostMessageW(box, WM_COMMAND, answers_[next++], 0);
            answered = box;
        }
        Sleep(30);
    }
}

}  // namespace velmora::testing
