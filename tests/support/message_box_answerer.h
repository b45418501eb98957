#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::testing {

// The message boxes (dialogs of class #32770) this process shows now.
std::vector<HWND> OwnMessageBoxes();

// Answers the message boxes this process shows, from a thread of its own, with the given buttons
// in turn (IDOK, IDABORT, IDRETRY, IDIGNORE, ...), and keeps their texts.
class MessageBoxAnswerer {
  public:
    explicit MessageBoxAnswerer(std::vector<int> answers);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // The texts of the boxes answered so far; call after the code that shows them has returned.
    std::vector<std::wstring> texts() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }

  private:
    void Run();

    std::vector<int> answers_;
    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace velmora::testing
