// Drives the clock's main window through many renders in one process, switching skins among
// them, and prints what the process holds at the start and at the end: a clock runs for weeks,
// so nothing may grow. VELMORA_SOAK_RENDERS sets the number of renders (100,000 by default).
#include <windows.h>

#include <cstdio>

#include "bench_support.h"
#include "form1.h"
#include "in_process_clock.h"
#include "process_usage.h"
#include "velmora_process.h"

using namespace velmora;

namespace {

struct Holding {
    testing::ProcessUsage usage;
    bench::Memory memory;
    DWORD userObjects;  // as the system counts them; Wine answers 0
    int windows;        // this process's windows, top-level and child: what Wine lets one count
};

int CountWindows() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != GetCurrentProcessId()) return TRUE;
            auto* n = reinterpret_cast<int*>(parameter);
            ++*n;
            EnumChildWindows(
                window,
                [](HWND, LPARAM inner) -> BOOL {
                    ++*reinterpret_cast<int*>(inner);
                    return TRUE;
                },
                parameter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

Holding Now() {
    return {testing::CurrentProcessUsage(), bench::MemoryOf(GetCurrentProcess()),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), CountWindows()};
}

void Row(const char* what, double start, double end, const char* unit) {
    std::printf("  %-28s %14.0f %14.0f %12.0f %s\n", what, start, end, end - start, unit);
}

}  // namespace

int main() {
    const int renders = bench::Setting("VELMORA_SOAK_RENDERS", 100000);
    constexpr int kRendersPerSkin = 1000;
    testing::InProcessClock clock(L"soak", L"Velmora soak");
    win::TForm1 form(clock.application());
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    const UINT skins[] = {win::TForm1::N9, win::TForm1::N10, win::TForm1::N11};
    const wchar_t* names[] = {L"velmora", L"Velmora1", L"velmora2"};
    // Every skin once and a few renders, so caches of the system are filled before counting.
    for (int skin = 0; skin < 3; ++skin) {
        form.RunCommand(skins[skin]);
        for (int i = 0; i < 20; ++i)
            form.RenderFace(names[skin], false);
    }
    form.RunCommand(win::TForm1::N9);

    const Holding start = Now();
    const double began = bench::Now();
    int switches = 0;
    for (int i = 1; i <= renders; ++i) {
        if (i % kRendersPerSkin == 0) {
            form.RunCommand(skins[++switches % 3]);  // extracts and decodes the image anew
        } else {
            form.RenderFace(names[switches % 3], false);  // a tick
        }
        // Messages the system sends meanwhile are handled as the clock's loop would.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    const double seconds = bench::Now() - began;
    const Holding end = Now();

    std::printf("Velmora soak: %d renders with %d skin switches in %.0f s (%.3f ms each)\n\n",
                renders, switches, seconds, seconds * 1000 / renders);
    std::printf("  %-28s %14s %14s %12s\n", "", "at the start", "at the end", "change");
    Row("GDI objects", start.usage.gdiObjects, end.usage.gdiObjects, "");
    Row("USER objects (system count)", start.userObjects, end.userObjects, "");
    Row("windows", start.windows, end.windows, "");
    Row("kernel handles", start.usage.kernelHandles, end.usage.kernelHandles, "");
    Row("private bytes", start.usage.privateBytes, end.usage.privateBytes, "bytes");
    Row("working set", start.memory.workingSet, end.memory.workingSet, "bytes");
    const bool grew = end.usage.gdiObjects > start.usage.gdiObjects ||
                      end.windows > start.windows ||
                      end.usage.kernelHandles > start.usage.kernelHandles ||
                      end.usage.privateBytes > start.usage.privateBytes + 1024 * 1024;
    std::printf("\n%s\n", grew ? "GROWTH: something is held on to" : "no growth");
    DestroyWindow(form.Handle());
    return grew ? 1 : 0;
}
