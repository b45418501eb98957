// Prints what one render of the face costs when the skin is kept decoded in memory, against
// decoding the skin PNG from the temporary folder on every tick. Figures are measured in one run,
// on this machine; the ratios are what to compare.
#include <windows.h>

#include <cstdio>
#include <string>

#include "face/hands.h"
#include "face_surface.h"
#include "gdiplus_session.h"
#include "skin_image.h"
#include "archived_skin.h"
#include "velmora_process.h"

using namespace velmora;

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND LayeredWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"RenderBench";
    RegisterClassW(&windowClass);
    return CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST, L"RenderBench", L"bench", WS_POPUP, 0, 0,
                           235, 250, nullptr, nullptr, windowClass.hInstance, nullptr);
}

// Milliseconds per render of `renders` renders; decodeEachTime reads the PNG anew every time.
double Measure(win::FaceSurface& face, HWND window, const std::wstring& png,
               const win::SkinImage& kept, bool decodeEachTime, bool present, int renders) {
    const double start = Now();
    for (int i = 0; i < renders; ++i) {
        const win::SkinImage decoded = decodeEachTime ? win::LoadSkinImage(png) : win::SkinImage{};
        const win::SkinImage& skin = decodeEachTime ? decoded : kept;
        face.Compose(skin,
                     ComputeHands(10, 10, static_cast<uint16_t>(i % 60), "07:30", 0xFFFFFFFF));
        if (present) face.Present(window, {0, 0});
    }
    return (Now() - start) * 1000.0 / renders;
}

}  // namespace

int main() {
    win::GdiplusSession gdiplus;
    // The wrist watch skin, as the clock takes it out of its archive.
    testing::ScratchFolder folder(L"bench");
    const std::wstring png = folder.File(L"velmora.png");
    const win::SkinImage kept = testing::ArchivedSkin(L"velmora.png", folder.path());
    if (kept.empty()) {
        std::fprintf(stderr, "cannot take the skin out of velmora.exe\n");
        return 1;
    }
    HWND window = LayeredWindow();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    win::FaceSurface face;
    constexpr int kRenders = 300;
    Measure(face, window, png, kept, false, true, 20);  // warm up

    const double composeKept = Measure(face, window, png, kept, false, false, kRenders);
    const double composeDecoded = Measure(face, window, png, kept, true, false, kRenders);
    const double tickKept = Measure(face, window, png, kept, false, true, kRenders);
    const double tickDecoded = Measure(face, window, png, kept, true, true, kRenders);

    std::printf("%d renders of a %dx%d face each way\n\n", kRenders, kept.width, kept.height);
    std::printf("%-34s %12s %14s %8s\n", "", "kept skin", "decoded PNG", "ratio");
    std::printf("%-34s %9.3f ms %11.3f ms %7.1fx\n", "compose (skin + hands)", composeKept,
                composeDecoded, composeDecoded / composeKept);
    std::printf("%-34s %9.3f ms %11.3f ms %7.1fx\n", "whole tick (compose + present)", tickKept,
                tickDecoded, tickDecoded / tickKept);
    DestroyWindow(window);
    return 0;
}
