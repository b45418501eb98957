#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace velmora::testing {

// The clock's settings key and section, as the program stores them.
constexpr const wchar_t* kStoreKey = L"Software\\Zanfor";
constexpr const wchar_t* kSectionKey = L"Software\\Zanfor\\Velmora";

// A value as the ANSI registry calls see it: its type and its bytes.
struct StoredValue {
    DWORD type;
    std::string bytes;
};

// Removes a key of HKEY_CURRENT_USER with everything below it; a missing key is fine.
void DeleteUserKey(const std::wstring& path);
// Reads a value of HKEY_CURRENT_USER\path as it is stored; nothing when it does not exist.
std::optional<StoredValue> ReadStoredValue(const std::wstring& path, const std::wstring& name);
// Writes a value of any type and bytes, creating the key when missing.
void WriteStoredValue(const std::wstring& path, const std::wstring& name, DWORD type,
                      const std::string& bytes);
// A string value of text, as the program writes it.
void WriteStoredText(const std::wstring& path, const std::wstring& name, const std::wstring& text);

}  // namespace velmora::testing
