#include "text/stored_integer.h"

#include <optional>

namespace velmora {
namespace {

std::optional<uint32_t> HexDigits(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint32_t value = 0;
    for (const char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        if (value > 0x0FFFFFFFu) return std::nullopt;  // a fifth hex digit more would not fit
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

// The magnitude of a decimal number, up to 2^31 so that the most negative value fits.
std::optional<uint32_t> DecimalDigits(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > 0x80000000u) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

}  // namespace

int32_t ParseStoredInteger(std::string_view text, int32_t fallback) {
    size_t pos = text.find_first_not_of(' ');
    if (pos == text.npos) return fallback;
    text.remove_prefix(pos);

    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    std::optional<uint32_t> magnitude;
    if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X") {
        magnitude = HexDigits(text.substr(2));
    } else if (!text.empty() &&
               (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        magnitude = HexDigits(text.substr(1));
    } else {
        magnitude = DecimalDigits(text);
        if (magnitude && *magnitude == 0x80000000u && !negative) return fallback;
    }
    if (!magnitude) return fallback;
    // Two's complement throughout: a hexadecimal pattern is a bit pattern, and negating the most
    // negative number leaves it as it is.
    const uint32_t bits = negative ? 0u - *magnitude : *magnitude;
    return static_cast<int32_t>(bits);
}

std::string FormatStoredInteger(int32_t value) {
    return std::to_string(value);
}

}  // namespace velmora
