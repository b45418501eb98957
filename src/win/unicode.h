#pragma once

#include <string>
#include <string_view>

namespace velmora::win {

// UTF-8 (the core's error texts) to UTF-16 (what every W call takes), and back.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace velmora::win
