#include "archive/zip_writer.h"

#include "archive/zip_format.h"

#include <zlib.h>

#include <new>

namespace velmora {
namespace {

// Every entry is written the same way: made by and needing version 2.0 on MS-DOS, deflated,
// no flags, no extra field or comment, and the archive bit as its only attribute.
constexpr uint16_t kVersion = 20;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint32_t kArchiveAttribute = 0x20;
constexpr uint32_t kMax32 = 0xFFFFFFFF;

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// The fields a local header and its directory entry hold alike, in the same order, from the
// version needed to extract to the size of the extra field.
void PutSharedFields(std::vector<uint8_t>& out, const ZipWriterEntry& entry, uint32_t crc,
                     size_t compressedSize, uint16_t nameSize) {
    Put16(out, kVersion);  // needed to extract
    Put16(out, 0);         // flags
    Put16(out, kMethodDeflate);
    Put16(out, entry.modified.time);
    Put16(out, entry.modified.date);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(compressedSize));
    Put32(out, static_cast<uint32_t>(entry.data.size()));
    Put16(out, nameSize);
    Put16(out, 0);  // extra field size
}

[[noreturn]] void CannotWrite(const std::string& why) {
    throw ArchiveError(ArchiveErrorKind::kCannotWrite,
                       "The resource archive cannot be written: " + why);
}

bool IsDigits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Raw deflate (no zlib header), as zip stores it.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::bad_alloc();
    }
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    std::vector<uint8_t> compressed;
    uint8_t chunk[64 * 1024];
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        stream.next_out = chunk;
        stream.avail_out = sizeof chunk;
        status = deflate(&stream, Z_FINISH);
        if (status != Z_OK && status != Z_STREAM_END) {
            deflateEnd(&stream);
            CannotWrite("the compressor failed");
        }
        compressed.insert(compressed.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
    }
    deflateEnd(&stream);
    return compressed;
}

}  // namespace

std::optional<DosDateTime> ParseDosDateTime(std::string_view text) {
    // Positions in "YYYY-MM-DD HH:MM:SS".
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const std::string_view fields[] = {text.substr(0, 4),  text.substr(5, 2),  text.substr(8, 2),
                                       text.substr(11, 2), text.substr(14, 2), text.substr(17, 2)};
    for (std::string_view field : fields) {
        if (!IsDigits(field)) return std::nullopt;
    }
    const int year = Number(fields[0]), month = Number(fields[1]), day = Number(fields[2]);
    const int hour = Number(fields[3]), minute = Number(fields[4]), second = Number(fields[5]);
    if (year < 1980 || year > 2107 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    DosDateTime result;
    result.date = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
    result.time = static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
    return result;
}

std::vector<uint8_t> WriteZipArchive(const std::vector<ZipWriterEntry>& entries,
                                     uint64_t base_offset) {
    if (entries.size() > 0xFFFF) CannotWrite("it would hold more than 65535 entries");
    std::vector<std::string> seen;
    for (const ZipWriterEntry& entry : entries) {
        if (!IsSafeEntryName(entry.name)) CannotWrite("'" + entry.name + "' is not a safe name");
        if (entry.name.size() > 0xFFFF) CannotWrite("a name is longer than 65535 bytes");
        if (entry.data.size() > kMax32) CannotWrite("'" + entry.name + "' is 4 GiB or larger");
        std::string lower = LowerAscii(entry.name);
        for (const std::string& other : seen) {
            if (other == lower) CannotWrite("'" + entry.name + "' is given twice");
        }
        seen.push_back(std::move(lower));
    }

    std::vector<uint8_t> archive;
    std::vector<uint8_t> directory;
    for (const ZipWriterEntry& entry : entries) {
        const uint64_t header_offset = base_offset + archive.size();
        if (header_offset > kMax32) CannotWrite("it would end past 4 GiB");
        const std::vector<uint8_t> compressed = Deflate(entry.data);
        if (compressed.size() > kMax32) CannotWrite("'" + entry.name + "' does not compress");
        const uint32_t crc = static_cast<uint32_t>(
            crc32(crc32(0L, Z_NULL, 0), entry.data.data(), static_cast<uInt>(entry.data.size())));
        const uint16_t name_size = static_cast<uint16_t>(entry.name.size());

        Put32(archive, zip::kLocalHeaderSignature);
        PutSharedFields(archive, entry, crc, compressed.size(), name_size);
        archive.insert(archive.end(), entry.name.begin(), entry.name.end());
        archive.insert(archive.end(), compressed.begin(), compressed.end());

        Put32(directory, zip::kCentralHeaderSignature);
        Put16(directory, kVersion);  // made by, host 0 (MS-DOS)
        PutSharedFields(directory, entry, crc, compressed.size(), name_size);
        Put16(directory, 0);  // comment size
        Put16(directory, 0);  // disk the entry starts on
        Put16(directory, 0);  // internal attributes
        Put32(directory, kArchiveAttribute);
        Put32(directory, static_cast<uint32_t>(header_offset));
        directory.insert(directory.end(), entry.name.begin(), entry.name.end());
    }

    const uint64_t directory_offset = base_offset + archive.size();
    if (directory_offset > kMax32 || directory.size() > kMax32) {
        CannotWrite("it would end past 4 GiB");
    }
    archive.insert(archive.end(), directory.begin(), directory.end());
    Put32(archive, zip::kEndRecordSignature);
    Put16(archive, 0);  // this disk
    Put16(archive, 0);  // disk where the central directory starts
    Put16(archive, static_cast<uint16_t>(entries.size()));  // entries on this disk
    Put16(archive, static_cast<uint16_t>(entries.size()));  // entries in all
    Put32(archive, static_cast<uint32_t>(directory.size()));
    Put32(archive, static_cast<uint32_t>(directory_offset));
    Put16(archive, 0);  // comment size
    return archive;
}

}  // namespace velmora
