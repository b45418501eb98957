#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "handles.h"

namespace velmora::win {

// Where the clock keeps its settings: HKEY_CURRENT_USER\<kStoreKeyPath>\<kSettingsSection>.
constexpr const wchar_t* kStoreKeyPath = L"Software\\Zanfor";
constexpr const wchar_t* kSettingsSection = L"Velmora";

// A registry value could not be read or written as the settings store needs it.
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct RegistryKeyTraits {
    static void Free(HKEY key) { RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;

// The clock's settings under HKEY_CURRENT_USER\<store key>\<section>. Every value is a string
// value: integers as decimal text, booleans as "1" and "0". Nothing is cached: each read and
// write goes to the registry at once, and no value is ever deleted.
class RegistrySettings {
  public:
    // Opens the store key, creating it when missing; a failure shows only at the first access.
    explicit RegistrySettings(std::wstring storeKeyPath);

    // A missing key, section or value gives the fallback; a value that is not a string value
    // raises "Invalid data type for '<name>'".
    std::wstring ReadString(const std::wstring& section, const std::wstring& name,
                            const std::wstring& fallback);
    int32_t ReadInteger(const std::wstring& section, const std::wstring& name, int32_t fallback);
    bool ReadBool(const std::wstring& section, const std::wstring& name, bool fallback);

    // Raise "Failed to create key <section>" or "Failed to set data for '<name>'".
    void WriteString(const std::wstring& section, const std::wstring& name,
                     const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& name, int32_t value);
    void WriteBool(const std::wstring& section, const std::wstring& name, bool value);

  private:
    void OpenStoreKey();
    UniqueRegistryKey CreateSection(const std::wstring& section);

    std::wstring storeKeyPath_;
    UniqueRegistryKey storeKey_;
};

}  // namespace velmora::win
