#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/zip_reader.h"

namespace velmora {

// A time as a zip archive stores it: the MS-DOS date and time words, local time, two-second steps.
struct DosDateTime {
    uint16_t date = 0;  // bits 15-9 year since 1980, 8-5 month, 4-0 day
    uint16_t time = 0;  // bits 15-11 hour, 10-5 minute, 4-0 seconds / 2
};

// Reads "YYYY-MM-DD HH:MM:SS" exactly (two digits each but the year), for a real date from 1980
// to 2107. An odd second is rounded down, as the format keeps only even ones. Empty otherwise.
std::optional<DosDateTime> ParseDosDateTime(std::string_view text);

struct ZipWriterEntry {
    std::string name;
    std::vector<uint8_t> data;
    DosDateTime modified;
};

// Builds a zip archive holding the entries in their order, each deflated at the best level, to be
// appended to a file of `base_offset` bytes: every offset inside counts from that file's first
// byte. Throws ArchiveError (kCannotWrite) for a name IsSafeEntryName refuses, a name given twice
// (ignoring the case of ASCII letters, as the reader finds them), or anything beyond what an
// archive without Zip64 holds: 65535 entries, 4 GiB sizes and offsets.
std::vector<uint8_t> WriteZipArchive(const std::vector<ZipWriterEntry>& entries,
                                     uint64_t base_offset);

}  // namespace velmora
