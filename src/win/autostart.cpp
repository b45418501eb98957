#include "autostart.h"

#include <windows.h>

#include <vector>

#include "registry_settings.h"

namespace velmora::win {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValueName = L"Velmora";

// The Run key is the system's: it is opened, never created.
UniqueRegistryKey OpenRunKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return UniqueRegistryKey();
    }
    return UniqueRegistryKey(key);
}

std::wstring Unquoted(const std::wstring& text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

Autostart::Autostart(std::wstring executable) : executable_(std::move(executable)) {}

bool Autostart::IsOn() const {
    const UniqueRegistryKey key = OpenRunKey();
    if (!key) return false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        size == 0) {
        return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw RegistryError("Invalid data type for 'Velmora'");
    }
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(key.get(), kValueName, nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring text(buffer.data());
    return SamePath(Unquoted(text), executable_) || text.find(L"Velmora") != text.npos;
}

void Autostart::Set(bool on) const {
    const UniqueRegistryKey key = OpenRunKey();
    const std::wstring text = on ? L"\"" + executable_ + L"\"" : L"";
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (!key ||
        RegSetValueExW(key.get(), kValueName, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()), size) != ERROR_SUCCESS) {
        throw RegistryError("Failed to set data for 'Velmora'");
    }
}

}  // namespace velmora::win
