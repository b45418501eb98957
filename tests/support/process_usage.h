#pragma once

#include <cstddef>

namespace velmora::testing {

// What this process holds, counted in ways that work under Wine as on Windows (Wine answers 0
// to GetGuiResources and GetProcessHandleCount, so those cannot show a leak there).
struct ProcessUsage {
    size_t gdiObjects;     // live entries of this process in the shared GDI handle table
    size_t kernelHandles;  // this process's entries in the system's handle list
    size_t privateBytes;   // committed private memory
};

ProcessUsage CurrentProcessUsage();

}  // namespace velmora::testing
