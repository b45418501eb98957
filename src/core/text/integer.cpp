#include "text/integer.h"

namespace velmora {

ConvertError::ConvertError(const std::string& piece)
    : std::runtime_error("'" + piece + "' is not a valid integer value") {}

int32_t StrToInt(std::string_view text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size()) throw ConvertError(std::string(text));

    // Accumulate as a negative number so that INT32_MIN fits.
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') throw ConvertError(std::string(text));
        value = value * 10 - (c - '0');
        if (value < INT32_MIN) throw ConvertError(std::string(text));
    }
    if (!negative) {
        if (-value > INT32_MAX) throw ConvertError(std::string(text));
        return static_cast<int32_t>(-value);
    }
    return static_cast<int32_t>(value);
}

}  // namespace velmora
