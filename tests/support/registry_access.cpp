#include "registry_access.h"

namespace velmora::testing {

void DeleteUserKey(const std::wstring& path) {
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
}

std::optional<StoredValue> ReadStoredValue(const std::wstring& path, const std::wstring& name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const int length =
        WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansiName(length, '\0');
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, ansiName.data(), length, nullptr, nullptr);
    StoredValue value{};
    DWORD size = 0;
    std::optional<StoredValue> result;
    if (RegQueryValueExA(key, ansiName.c_str(), nullptr, &value.type, nullptr, &size) ==
        ERROR_SUCCESS) {
        value.bytes.resize(size);
        RegQueryValueExA(key, ansiName.c_str(), nullptr, &value.type,
                         reinterpret_cast<BYTE*>(value.bytes.data()), &size);
        value.bytes.resize(size);
        result = value;
    }
    RegCloseKey(key);
    return result;
}

void WriteStoredValue(const std::wstring& path, const std::wstring& name, DWORD type,
                      const std::string& bytes) {
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void WriteStoredText(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    WriteStoredValue(path, name, REG_SZ,
                     std::string(reinterpret_cast<const char*>(text.c_str()),
                                 (text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace velmora::testing
