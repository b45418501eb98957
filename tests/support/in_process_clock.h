#pragma once

#include <windows.h>

#include <string>

#include "application.h"
#include "gdiplus_session.h"
#include "temp_env.h"
#include "velmora_process.h"

namespace velmora::testing {

// What the clock's main window needs to run inside a test or benchmark process: a GDI+ session, a
// scratch folder standing in for the temporary folder, and an application object whose archive is
// the built velmora.exe, so that the skins come out of the real program.
class InProcessClock {
  public:
    // A title other than the clock's keeps a window made here from being taken for a running clock.
    explicit InProcessClock(const std::wstring& folderName, const std::wstring& title = L"Velmora")
        : folder_(folderName),
          environment_(folder_.path()),
          application_(GetModuleHandleW(nullptr), title, BuildDirectory() + L"velmora.exe") {}
    InProcessClock(const InProcessClock&) = delete;
    InProcessClock& operator=(const InProcessClock&) = delete;

    const ScratchFolder& folder() const { return folder_; }
    win::Application& application() { return application_; }

  private:
    win::GdiplusSession gdiplus_;
    ScratchFolder folder_;
    TempEnvironment environment_;
    win::Application application_;
};

}  // namespace velmora::testing
