#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Reads an integer as the settings store keeps it: leading spaces are skipped, an optional "+" or
// "-" may follow, then either decimal digits giving a signed 32-bit number, or hexadecimal digits
// after "$", "x" or "0x" that fit in 32 bits and are taken as that bit pattern. The digits must run
// to the end of the text. Anything else, empty text or a number out of range, gives fallback.
int32_t ParseStoredInteger(std::string_view text, int32_t fallback);

// The text an integer is stored as: an optional "-" and the digits, no leading zeros, no "+".
std::string FormatStoredInteger(int32_t value);

}  // namespace velmora
