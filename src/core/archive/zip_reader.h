#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

// What went wrong with the resource archive, so that a caller can react to the kind of failure
// while the message stays ready for the user.
enum class ArchiveErrorKind {
    kNoArchive,       // the file has no end record of a zip archive
    kDamagedArchive,  // the end record or the central directory cannot be right
    kDamagedEntry,    // one entry cannot be extracted as stated, or its name is unsafe
    kUnsupported,     // a valid zip feature this program does not read (encryption, methods)
    kNotFound,        // no entry has the requested name
    kReadFailed,      // the byte source failed on a range that exists
    kWriteFailed,     // the sink refused the extracted bytes
    kCannotWrite,     // the writer was given entries an archive cannot hold
};

// Every failure of reading or writing an archive. what() is an English sentence fit for a dialog.
class ArchiveError : public std::runtime_error {
  public:
    ArchiveError(ArchiveErrorKind kind, const std::string& message);
    ArchiveErrorKind kind() const { return kind_; }

  private:
    ArchiveErrorKind kind_;
};

// A file the archive is read from, with random access. The Win32 side wraps a file handle.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Fills `into` with exactly `size` bytes from `offset`; false when that is not possible. The
    // reader only asks for ranges inside Size(), so false means the file could not be read.
    virtual bool ReadAt(uint64_t offset, void* into, size_t size) = 0;
};

// Where extracted bytes go, in order, in pieces of any size.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // False stops the extraction with ArchiveErrorKind::kWriteFailed.
    virtual bool Write(const void* data, size_t size) = 0;
};

// A source over bytes it owns.
class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(uint64_t offset, void* into, size_t size) override;

  private:
    std::vector<uint8_t> bytes_;
};

// Collects the bytes in memory, refusing to grow past `limit` so that a caller that loads an
// entry whole can cap what it accepts.
class MemorySink : public ByteSink {
  public:
    explicit MemorySink(size_t limit = SIZE_MAX) : limit_(limit) {}
    bool Write(const void* data, size_t size) override;
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    size_t limit_;
    std::vector<uint8_t> bytes_;
};

// One entry as the central directory states it. Nothing here has been checked against the data.
struct ZipEntry {
    std::string name;  // as stored: either separator, any bytes
    uint16_t flags = 0;
    uint16_t method = 0;  // 0 stored, 8 deflated
    uint32_t crc32 = 0;
    uint32_t compressed_size = 0;
    uint32_t uncompressed_size = 0;
    uint16_t dos_time = 0;
    uint16_t dos_date = 0;
    uint32_t external_attributes = 0;
    uint64_t local_header_offset = 0;  // from the first byte of the file, corrected if need be
};

// A name that may be used as a relative path below a folder of our own: not empty, no control
// characters, no colon (a drive such as "C:" or a Windows stream), no leading "/" or "\", and no
// ".." between separators.
bool IsSafeEntryName(std::string_view name);

// Reads a zip archive that ends the source, as one appended to an executable: single volume, no
// Zip64, entries stored or deflated.
//
// The stored offsets normally count from the first byte of the file, which is how our build
// writes them. An archive made on its own and then appended has offsets that count from its own
// first byte instead; since the central directory always ends where the end record begins, the
// difference between where it is and where it is said to be gives the start of the archive, and
// every offset is moved by it (as unzip does). A directory said to lie beyond that place cannot be
// right and is refused.
class ZipReader {
  public:
    // Finds the end record and reads the central directory. Throws ArchiveError. The source must
    // outlive the reader.
    explicit ZipReader(ByteSource& source);

    const std::vector<ZipEntry>& entries() const { return entries_; }
    // What the stored offsets were moved by: 0 when they count from the start of the file.
    uint64_t offset_shift() const { return offset_shift_; }

    // The first entry whose whole stored name equals `name`, or failing that the first whose file
    // name part (after the last "/" or "\") does; ASCII letters compare without case. Null when
    // none does or `name` is empty.
    const ZipEntry* Find(std::string_view name) const;

    // Writes the entry's bytes into the sink, checking its header, its bounds, its length and its
    // CRC-32 on the way; never writes more than its stated size. Throws ArchiveError. After an
    // error the sink may hold a part of the entry.
    void Extract(const ZipEntry& entry, ByteSink& sink);
    // The same for Find(name); throws kNotFound when there is no such entry.
    void Extract(std::string_view name, ByteSink& sink);

  private:
    void Read(uint64_t offset, void* into, size_t size);
    void ReadDirectory(uint64_t start, uint64_t end, uint16_t count);
    void Inflate(const ZipEntry& entry, uint64_t data_offset, ByteSink& sink);
    void Copy(const ZipEntry& entry, uint64_t data_offset, ByteSink& sink);

    ByteSource& source_;
    std::vector<ZipEntry> entries_;
    uint64_t offset_shift_ = 0;
    uint64_t directory_start_ = 0;  // entries' headers and data must end before it
};

}  // namespace velmora
