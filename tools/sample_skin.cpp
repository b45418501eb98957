// Writes the stand-in test skin to the file named on the command line, so that the clock can be
// seen before the real skins are built into it.
#include <windows.h>

#include <cstdio>

#include "gdiplus_session.h"
#include "test_skin.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sample_skin <file.png>\n");
        return 2;
    }
    velmora::win::GdiplusSession gdiplus;
    if (!velmora::testing::WriteTestSkin(argv[1])) {
        std::fprintf(stderr, "cannot write %ls\n", argv[1]);
        return 1;
    }
    return 0;
}
