#include "archive/zip_reader.h"

#include "archive/zip_format.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace velmora {
namespace {

using namespace zip;

constexpr size_t kMaxCommentSize = 0xFFFF;

// Flags whose data this reader cannot turn back into the entry: traditional and strong
// encryption, patch data, and a masked local header.
constexpr uint16_t kUnreadableFlags = 0x0001 | 0x0020 | 0x0040 | 0x2000;

// Pieces read and inflated at a time, so that no buffer depends on a stated size.
constexpr size_t kChunkSize = 64 * 1024;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A name as it may be shown in a dialog: control characters would garble the text.
std::string Printable(std::string_view name) {
    std::string shown(name);
    for (char& c : shown) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) c = '?';
    }
    return shown;
}

[[noreturn]] void ArchiveDamaged(const std::string& why) {
    throw ArchiveError(ArchiveErrorKind::kDamagedArchive,
                       "The resource archive is damaged: " + why);
}

[[noreturn]] void EntryDamaged(const ZipEntry& entry, const std::string& why) {
    throw ArchiveError(ArchiveErrorKind::kDamagedEntry,
                       "Entry '" + Printable(entry.name) + "' is damaged: " + why);
}

[[noreturn]] void EntryUnsupported(const ZipEntry& entry, const std::string& why) {
    throw ArchiveError(ArchiveErrorKind::kUnsupported,
                       "Entry '" + Printable(entry.name) + "' " + why);
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::string_view FileNamePart(std::string_view name) {
    const size_t separator = name.find_last_of("/\\");
    return separator == name.npos ? name : name.substr(separator + 1);
}

// Ends the inflate stream whichever way the extraction leaves.
struct InflateStream {
    z_stream stream{};
    bool open = false;
    ~InflateStream() {
        if (open) inflateEnd(&stream);
    }
};

}  // namespace

ArchiveError::ArchiveError(ArchiveErrorKind kind, const std::string& message)
    : std::runtime_error(message), kind_(kind) {}

bool MemorySource::ReadAt(uint64_t offset, void* into, size_t size) {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    if (size != 0) std::memcpy(into, bytes_.data() + offset, size);
    return true;
}

bool MemorySink::Write(const void* data, size_t size) {
    if (size > limit_ - bytes_.size()) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
    return true;
}

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == ':') return false;
    }
    size_t part_start = 0;
    while (part_start <= name.size()) {
        size_t part_end = name.find_first_of("/\\", part_start);
        if (part_end == name.npos) part_end = name.size();
        if (name.substr(part_start, part_end - part_start) == "..") return false;
        part_start = part_end + 1;
    }
    return true;
}

ZipReader::ZipReader(ByteSource& source) : source_(source) {
    const uint64_t file_size = source_.Size();
    const ArchiveError no_archive(ArchiveErrorKind::kNoArchive,
                                  "The program file holds no resource archive");
    if (file_size < kEndRecordSize) throw no_archive;

    // The end record is the last thing in the file, followed only by its comment.
    const size_t tail_size =
        static_cast<size_t>(std::min<uint64_t>(file_size, kEndRecordSize + kMaxCommentSize));
    const uint64_t tail_start = file_size - tail_size;
    std::vector<uint8_t> tail(tail_size);
    Read(tail_start, tail.data(), tail.size());

    size_t found = tail_size;
    for (size_t at = tail_size - kEndRecordSize + 1; at-- > 0;) {
        const uint8_t* record = tail.data() + at;
        if (Get32(record) == kEndRecordSignature &&
            kEndRecordSize + Get16(record + 20) == tail_size - at) {
            found = at;
            break;
        }
    }
    if (found == tail_size) throw no_archive;

    const uint8_t* record = tail.data() + found;
    const uint16_t this_disk = Get16(record + 4);
    const uint16_t directory_disk = Get16(record + 6);
    const uint16_t entries_on_disk = Get16(record + 8);
    const uint16_t entry_count = Get16(record + 10);
    const uint32_t directory_size = Get32(record + 12);
    const uint32_t directory_offset = Get32(record + 16);
    if (this_disk != 0 || directory_disk != 0 || entries_on_disk != entry_count) {
        throw ArchiveError(ArchiveErrorKind::kUnsupported,
                           "The resource archive spans several disks, which is not supported");
    }

    const uint64_t end_record_at = tail_start + found;
    // The directory ends where the end record begins; it may lie after its stated offset (see
    // offset_shift) but never before it.
    if (directory_size > end_record_at || directory_offset > end_record_at - directory_size) {
        ArchiveDamaged("the central directory lies outside the file");
    }
    directory_start_ = end_record_at - directory_size;
    offset_shift_ = directory_start_ - directory_offset;
    ReadDirectory(directory_start_, end_record_at, entry_count);
}

void ZipReader::Read(uint64_t offset, void* into, size_t size) {
    if (!source_.ReadAt(offset, into, size)) {
        throw ArchiveError(ArchiveErrorKind::kReadFailed, "The program file cannot be read");
    }
}

void ZipReader::ReadDirectory(uint64_t start, uint64_t end, uint16_t count) {
    uint64_t at = start;
    for (uint16_t i = 0; i < count; ++i) {
        uint8_t header[kCentralHeaderSize];
        if (end - at < kCentralHeaderSize) {
            ArchiveDamaged("the central directory is shorter than its entries");
        }
        Read(at, header, sizeof header);
        if (Get32(header) != kCentralHeaderSignature) {
            ArchiveDamaged("an entry of the central directory has no valid header");
        }
        const uint16_t name_size = Get16(header + 28);
        const uint16_t extra_size = Get16(header + 30);
        const uint16_t comment_size = Get16(header + 32);
        at += kCentralHeaderSize;
        if (end - at < uint64_t{name_size} + extra_size + comment_size) {
            ArchiveDamaged("the central directory is shorter than its entries");
        }

        ZipEntry entry;
        entry.flags = Get16(header + 8);
        entry.method = Get16(header + 10);
        entry.dos_time = Get16(header + 12);
        entry.dos_date = Get16(header + 14);
        entry.crc32 = Get32(header + 16);
        entry.compressed_size = Get32(header + 20);
        entry.uncompressed_size = Get32(header + 24);
        entry.external_attributes = Get32(header + 38);
        entry.local_header_offset = Get32(header + 42) + offset_shift_;
        entry.name.resize(name_size);
        Read(at, entry.name.data(), name_size);
        at += uint64_t{name_size} + extra_size + comment_size;
        if (Get16(header + 34) != 0) {
            throw ArchiveError(ArchiveErrorKind::kUnsupported,
                               "The resource archive spans several disks, which is not supported");
        }
        entries_.push_back(std::move(entry));
    }
    if (at != end) ArchiveDamaged("the central directory is longer than its entries");
}

const ZipEntry* ZipReader::Find(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (const ZipEntry& entry : entries_) {
        if (EqualsIgnoringCase(entry.name, name)) return &entry;
    }
    for (const ZipEntry& entry : entries_) {
        if (EqualsIgnoringCase(FileNamePart(entry.name), name)) return &entry;
    }
    return nullptr;
}

void ZipReader::Extract(std::string_view name, ByteSink& sink) {
    const ZipEntry* entry = Find(name);
    if (entry == nullptr) {
        throw ArchiveError(ArchiveErrorKind::kNotFound,
                           "The resource archive holds no entry '" + Printable(name) + "'");
    }
    Extract(*entry, sink);
}

void ZipReader::Extract(const ZipEntry& entry, ByteSink& sink) {
    if (!IsSafeEntryName(entry.name)) EntryDamaged(entry, "its name is not a safe file name");
    if (entry.flags & kUnreadableFlags) EntryUnsupported(entry, "is encrypted or patched data");
    if (entry.method != 0 && entry.method != 8) {
        EntryUnsupported(entry, "uses compression method " + std::to_string(entry.method) +
                                    ", which is not supported");
    }

    // Everything of an entry lies before the central directory; checking against it also keeps
    // every read inside the file.
    const uint64_t limit = directory_start_;
    if (entry.local_header_offset > limit || limit - entry.local_header_offset < kLocalHeaderSize) {
        EntryDamaged(entry, "its header lies outside the archive");
    }
    uint8_t header[kLocalHeaderSize];
    Read(entry.local_header_offset, header, sizeof header);
    if (Get32(header) != kLocalHeaderSignature) EntryDamaged(entry, "its header is missing");
    const uint16_t name_size = Get16(header + 26);
    const uint16_t extra_size = Get16(header + 28);
    const uint64_t name_offset = entry.local_header_offset + kLocalHeaderSize;
    if (limit - name_offset < uint64_t{name_size} + extra_size) {
        EntryDamaged(entry, "its header runs past the end of the archive");
    }
    const uint64_t data_offset = name_offset + name_size + extra_size;
    if (limit - data_offset < entry.compressed_size) {
        EntryDamaged(entry, "its data runs past the end of the archive");
    }

    // The local header must describe the same entry; a mismatch means the offset is wrong.
    std::string local_name(name_size, '\0');
    Read(name_offset, local_name.data(), name_size);
    if (local_name != entry.name || Get16(header + 8) != entry.method) {
        EntryDamaged(entry, "its header does not match the central directory");
    }
    if (Get16(header + 6) & kUnreadableFlags)
        EntryUnsupported(entry, "is encrypted or patched data");

    if (entry.method == 0) {
        Copy(entry, data_offset, sink);
    } else {
        Inflate(entry, data_offset, sink);
    }
}

void ZipReader::Copy(const ZipEntry& entry, uint64_t data_offset, ByteSink& sink) {
    if (entry.compressed_size != entry.uncompressed_size) {
        EntryDamaged(entry, "its stored sizes disagree");
    }
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[kChunkSize]);
    uLong crc = crc32(0L, Z_NULL, 0);
    uint64_t remaining = entry.compressed_size;
    while (remaining > 0) {
        const size_t piece = static_cast<size_t>(std::min<uint64_t>(remaining, kChunkSize));
        Read(data_offset, buffer.get(), piece);
        crc = crc32(crc, buffer.get(), static_cast<uInt>(piece));
        if (!sink.Write(buffer.get(), piece)) {
            throw ArchiveError(ArchiveErrorKind::kWriteFailed,
                               "Entry '" + Printable(entry.name) + "' cannot be written");
        }
        data_offset += piece;
        remaining -= piece;
    }
    if (crc != entry.crc32) EntryDamaged(entry, "CRC-32 mismatch");
}

void ZipReader::Inflate(const ZipEntry& entry, uint64_t data_offset, ByteSink& sink) {
    std::unique_ptr<uint8_t[]> input(new uint8_t[kChunkSize]);
    std::unique_ptr<uint8_t[]> output(new uint8_t[kChunkSize]);
    InflateStream inflater;
    z_stream& stream = inflater.stream;
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        throw ArchiveError(ArchiveErrorKind::kReadFailed, "The decompressor cannot be started");
    }
    inflater.open = true;

    uLong crc = crc32(0L, Z_NULL, 0);
    uint64_t remaining_input = entry.compressed_size;
    uint64_t produced = 0;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0 && remaining_input > 0) {
            const size_t piece =
                static_cast<size_t>(std::min<uint64_t>(remaining_input, kChunkSize));
            Read(data_offset, input.get(), piece);
            data_offset += piece;
            remaining_input -= piece;
            stream.next_in = input.get();
            stream.avail_in = static_cast<uInt>(piece);
        }
        stream.next_out = output.get();
        stream.avail_out = static_cast<uInt>(kChunkSize);
        // Called even without input left: a full output buffer may have left bytes pending.
        status = inflate(&stream, Z_NO_FLUSH);
        if (status == Z_MEM_ERROR) throw std::bad_alloc();
        if (status == Z_BUF_ERROR) {
            // No progress although all the input left was offered: the stream was cut short.
            EntryDamaged(entry, "its compressed data ends early");
        } else if (status != Z_OK && status != Z_STREAM_END) {
            EntryDamaged(entry, "its compressed data is invalid");
        }
        const size_t piece = kChunkSize - stream.avail_out;
        if (piece > entry.uncompressed_size - produced) {
            EntryDamaged(entry, "it holds more data than stated");
        }
        crc = crc32(crc, output.get(), static_cast<uInt>(piece));
        if (piece != 0 && !sink.Write(output.get(), piece)) {
            throw ArchiveError(ArchiveErrorKind::kWriteFailed,
                               "Entry '" + Printable(entry.name) + "' cannot be written");
        }
        produced += piece;
    }
    if (remaining_input != 0 || stream.avail_in != 0) {
        EntryDamaged(entry, "its compressed data ends before its stated size");
    }
    if (produced != entry.uncompressed_size) EntryDamaged(entry, "it holds less data than stated");
    if (crc != entry.crc32) EntryDamaged(entry, "CRC-32 mismatch");
}

}  // namespace velmora
