#include "process_usage.h"

#include <windows.h>

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace velmora::testing {
namespace {

// One entry of the GDI handle table the system maps into every process; 64-bit Windows and Wine
// share the layout.
struct GdiHandleEntry {
    uint64_t object;
    uint16_t processId;
    uint16_t count;
    uint16_t unique;
    uint16_t type;
    uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);

size_t CountGdiObjects() {
    PROCESS_BASIC_INFORMATION basic{};
    NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic,
                              nullptr);
    // PEB::GdiSharedHandleTable, at the same offset on 64-bit Windows and Wine.
    const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + 0xF8);
    if (!table) return 0;
    MEMORY_BASIC_INFORMATION region{};
    VirtualQuery(table, &region, sizeof region);
    const size_t readable = static_cast<const uint8_t*>(region.BaseAddress) + region.RegionSize -
                            reinterpret_cast<const uint8_t*>(table);
    const size_t entries = readable / sizeof(GdiHandleEntry);
    const uint16_t self = static_cast<uint16_t>(GetCurrentProcessId());
    size_t live = 0;
    for (size_t i = 0; i < entries; ++i) {
        // Wine keeps one table per process and leaves the owner at 0.
        const bool ours = table[i].processId == self || table[i].processId == 0;
        if (table[i].object != 0 && ours && (table[i].type & 0x7F) != 0) {
            ++live;
        }
    }
    return live;
}

size_t CountKernelHandles() {
    std::vector<uint8_t> buffer(1 << 20);
    ULONG needed = 0;
    while (NtQuerySystemInformation(
               SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
               &needed) == static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    }
    const auto* info = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    size_t own = 0;
    for (ULONG i = 0; i < info->Count; ++i) {
        if (info->Handle[i].OwnerPid == GetCurrentProcessId()) ++own;
    }
    return own;
}

size_t CountPrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const uint8_t* address = nullptr;
         VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const uint8_t*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    }
    return total;
}

}  // namespace

ProcessUsage CurrentProcessUsage() {
    return {CountGdiObjects(), CountKernelHandles(), CountPrivateBytes()};
}

}  // namespace velmora::testing
