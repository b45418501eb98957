#pragma once

#include <string>

namespace velmora::win {

// The user's temporary folder as the system reports it (no separator rule applied). Throws when
// the path does not fit the 1,023 characters the clock supports.
std::wstring GetTempDir();

}  // namespace velmora::win
