#include "app/error_report.h"

namespace velmora {

std::wstring ErrorReportText(std::wstring message) {
    if (!message.empty() && message.back() > L'.') message += L'.';
    return message;
}

bool RepeatedFailureFilter::ShouldReport(const std::wstring& message) {
    if (last_ == message) return false;
    last_ = message;
    return true;
}

}  // namespace velmora
