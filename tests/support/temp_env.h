#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace velmora::testing {

// Points TMP and TEMP at a folder for the life of the object.
class TempEnvironment {
  public:
    explicit TempEnvironment(const std::wstring& folder) {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t old[1024];
            const DWORD length = GetEnvironmentVariableW(name, old, 1024);
            saved_.push_back({name, std::wstring(old, length)});
            SetEnvironmentVariableW(name, folder.c_str());
        }
    }
    ~TempEnvironment() {
        for (const auto& [name, value] : saved_)
            SetEnvironmentVariableW(name, value.c_str());
    }

  private:
    std::vector<std::pair<const wchar_t*, std::wstring>> saved_;
};

}  // namespace velmora::testing
