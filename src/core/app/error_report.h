#pragma once

#include <optional>
#include <string>

namespace velmora {

// The text of the standard error report: a full stop is appended when the message's last
// character sorts after ".", so "Failed" becomes "Failed." while "Failed." and "Failed!" stay.
std::wstring ErrorReportText(std::wstring message);

// Lets a failure that repeats on every tick through once: the same message is not reported again
// until an attempt succeeds or a different message comes.
class RepeatedFailureFilter {
  public:
    // True when this failure should be shown.
    bool ShouldReport(const std::wstring& message);
    // The operation worked: the next failure is reported whatever it says.
    void Succeeded() { last_.reset(); }

  private:
    std::optional<std::wstring> last_;
};

}  // namespace velmora
