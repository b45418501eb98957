#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmora {

// A text that should have been an integer was not one.
class ConvertError : public std::runtime_error {
  public:
    explicit ConvertError(const std::string& piece);
};

// Reads a whole text as a signed 32-bit decimal integer: an optional sign followed by at least one
// digit, nothing before or after. Throws ConvertError naming the text otherwise, also when the
// value does not fit.
int32_t StrToInt(std::string_view text);

}  // namespace velmora
