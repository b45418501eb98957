#pragma once

// What the benchmark programs share: a clock, medians and the memory a process holds.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace velmora::bench {

// Seconds from an arbitrary start, as precise as the system's performance counter.
inline double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A whole number from the environment, so a quick run can ask for less than the full one.
inline int Setting(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

struct Memory {
    size_t workingSet = 0;
    size_t privateBytes = 0;
};

inline Memory MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters)) {
        return {};
    }
    // Wine leaves PrivateUsage at 0 for another process; the commit charge is the same figure.
    return {counters.WorkingSetSize,
            counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage};
}

inline double Megabytes(size_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace velmora::bench
