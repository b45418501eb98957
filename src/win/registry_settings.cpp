#include "registry_settings.h"

#include <vector>

#include "text/stored_integer.h"
#include "unicode.h"

namespace velmora::win {

RegistrySettings::RegistrySettings(std::wstring storeKeyPath)
    : storeKeyPath_(std::move(storeKeyPath)) {
    OpenStoreKey();
}

void RegistrySettings::OpenStoreKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, storeKeyPath_.c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        // Without the right to change the settings they can at least be read.
        if (RegOpenKeyExW(HKEY_CURRENT_USER, storeKeyPath_.c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            key = nullptr;
        }
    }
    storeKey_.reset(key);
}

std::wstring RegistrySettings::ReadString(const std::wstring& section, const std::wstring& name,
                                          const std::wstring& fallback) {
    HKEY opened = nullptr;
    const auto openSection = [&] {
        return storeKey_ && RegOpenKeyExW(storeKey_.get(), section.c_str(), 0, KEY_QUERY_VALUE,
                                          &opened) == ERROR_SUCCESS;
    };
    if (!openSection()) {
        // Another program may have deleted the store key and made it anew while the clock runs:
        // the key held since start-up would then show nothing of it.
        OpenStoreKey();
        if (!openSection()) return fallback;
    }
    const UniqueRegistryKey key(opened);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return fallback;
    }
    if (size == 0) return L"";
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw RegistryError("Invalid data type for '" + Narrow(name) + "'");
    }
    // Room for a terminating zero the stored data may lack.
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
        return fallback;
    }
    return std::wstring(text.data());  // up to the first zero; an expandable text stays unexpanded
}

int32_t RegistrySettings::ReadInteger(const std::wstring& section, const std::wstring& name,
                                      int32_t fallback) {
    return ParseStoredInteger(Narrow(ReadString(section, name, L"")), fallback);
}

bool RegistrySettings::ReadBool(const std::wstring& section, const std::wstring& name,
                                bool fallback) {
    return ReadInteger(section, name, fallback ? 1 : 0) != 0;
}

UniqueRegistryKey RegistrySettings::CreateSection(const std::wstring& section) {
    HKEY created = nullptr;
    if (storeKey_ &&
        RegCreateKeyExW(storeKey_.get(), section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &created, nullptr) == ERROR_SUCCESS) {
        return UniqueRegistryKey(created);
    }
    return UniqueRegistryKey();
}

void RegistrySettings::WriteString(const std::wstring& section, const std::wstring& name,
                                   const std::wstring& value) {
    UniqueRegistryKey key = CreateSection(section);
    if (!key) {
        // The store key may have been deleted by another program while the clock runs: open it
        // anew, so that the setting is not lost.
        OpenStoreKey();
        key = CreateSection(section);
    }
    if (!key) throw RegistryError("Failed to create key " + Narrow(section));
    const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()), size) != ERROR_SUCCESS) {
        throw RegistryError("Failed to set data for '" + Narrow(name) + "'");
    }
}

void RegistrySettings::WriteInteger(const std::wstring& section, const std::wstring& name,
                                    int32_t value) {
    WriteString(section, name, Widen(FormatStoredInteger(value)));
}

void RegistrySettings::WriteBool(const std::wstring& section, const std::wstring& name,
                                 bool value) {
    WriteString(section, name, value ? L"1" : L"0");
}

}  // namespace velmora::win
