#pragma once

#include <string>

namespace velmora::win {

// The clock's entry among the programs the system starts at the user's logon: the value
// "Velmora" of HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run.
class Autostart {
  public:
    // The path of the running executable.
    explicit Autostart(std::wstring executable);

    // Whether the entry is on: it names this executable (quoted or not, letter case ignored) or
    // contains "Velmora". A missing key or value is off; a value that is not text raises
    // "Invalid data type for 'Velmora'".
    bool IsOn() const;

    // Writes the executable's path in double quotes (so that a path with spaces can never start
    // another program), or empty text to switch it off; the value is never deleted. Raises
    // "Failed to set data for 'Velmora'" when the key is missing or the write is refused.
    void Set(bool on) const;

  private:
    std::wstring executable_;
};

}  // namespace velmora::win
