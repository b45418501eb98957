#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "archive/zip_reader.h"
#include "archive/zip_writer.h"

namespace velmora {

void PrintTo(ArchiveErrorKind kind, std::ostream* os) {
    static const char* const kNames[] = {"kNoArchive",   "kDamagedArchive", "kDamagedEntry",
                                         "kUnsupported", "kNotFound",       "kReadFailed",
                                         "kWriteFailed", "kCannotWrite"};
    *os << kNames[static_cast<int>(kind)];
}

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// Stands in for the linked executable the archive is appended to.
Bytes ExecutablePrefix(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    if (size >= 2) bytes[0] = 'M', bytes[1] = 'Z';
    return bytes;
}

// Bytes that deflate cannot shrink, so the compressed data spans several reads.
Bytes Noise(size_t size) {
    Bytes bytes(size);
    uint32_t state = 12345;
    for (uint8_t& b : bytes) {
        state = state * 1103515245 + 12345;
        b = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

Bytes Repeated(std::string_view text, size_t times) {
    Bytes bytes;
    for (size_t i = 0; i < times; ++i)
        bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

DosDateTime Time(std::string_view text) {
    const std::optional<DosDateTime> time = ParseDosDateTime(text);
    EXPECT_TRUE(time.has_value()) << text;
    return time.value_or(DosDateTime{});
}

// The executable with the writer's archive appended, offsets counting from the executable's start.
Bytes Appended(const Bytes& prefix, const std::vector<ZipWriterEntry>& entries) {
    Bytes file = prefix;
    const Bytes archive = WriteZipArchive(entries, prefix.size());
    file.insert(file.end(), archive.begin(), archive.end());
    return file;
}

uint16_t Get16(const Bytes& b, size_t at) {
    return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

uint32_t Get32(const Bytes& b, size_t at) {
    return Get16(b, at) | uint32_t{Get16(b, at + 2)} << 16;
}

void Set16(Bytes& b, size_t at, uint16_t value) {
    b.at(at) = static_cast<uint8_t>(value);
    b.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

void Set32(Bytes& b, size_t at, uint32_t value) {
    Set16(b, at, static_cast<uint16_t>(value));
    Set16(b, at + 2, static_cast<uint16_t>(value >> 16));
}

void Append16(Bytes& b, uint16_t value) {
    b.push_back(static_cast<uint8_t>(value));
    b.push_back(static_cast<uint8_t>(value >> 8));
}

void Append32(Bytes& b, uint32_t value) {
    Append16(b, static_cast<uint16_t>(value));
    Append16(b, static_cast<uint16_t>(value >> 16));
}

// Where the parts of an archive without a comment lie, read from its end record.
struct Layout {
    size_t end_record;
    size_t directory;
};

Layout LayoutOf(const Bytes& file) {
    const size_t end_record = file.size() - 22;
    return {end_record, Get32(file, end_record + 16)};
}

// A one-entry archive with a stored (not deflated) entry, which our writer never makes.
Bytes StoredArchive(size_t prefix_size, std::string_view name, const Bytes& data) {
    Bytes file = ExecutablePrefix(prefix_size);
    const uint32_t crc = static_cast<uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), data.data(), static_cast<uInt>(data.size())));
    const uint32_t local_offset = static_cast<uint32_t>(file.size());
    Append32(file, 0x04034B50);
    for (uint16_t word : {20, 0, 0, 0, 0})
        Append16(file, word);  // version, flags, method, time
    Append32(file, crc);
    Append32(file, static_cast<uint32_t>(data.size()));
    Append32(file, static_cast<uint32_t>(data.size()));
    Append16(file, static_cast<uint16_t>(name.size()));
    Append16(file, 0);
    file.insert(file.end(), name.begin(), name.end());
    file.insert(file.end(), data.begin(), data.end());

    const uint32_t directory_offset = static_cast<uint32_t>(file.size());
    Append32(file, 0x02014B50);
    for (uint16_t word : {20, 20, 0, 0, 0, 0})
        Append16(file, word);
    Append32(file, crc);
    Append32(file, static_cast<uint32_t>(data.size()));
    Append32(file, static_cast<uint32_t>(data.size()));
    Append16(file, static_cast<uint16_t>(name.size()));
    for (uint16_t word : {0, 0, 0, 0})
        Append16(file, word);
    Append32(file, 0x20);
    Append32(file, local_offset);
    file.insert(file.end(), name.begin(), name.end());

    const uint32_t directory_size = static_cast<uint32_t>(file.size()) - directory_offset;
    Append32(file, 0x06054B50);
    for (uint16_t word : {0, 0, 1, 1})
        Append16(file, word);
    Append32(file, directory_size);
    Append32(file, directory_offset);
    Append16(file, 0);
    return file;
}

// A file in memory that fails the test when the reader asks for bytes outside it: the reader
// checks every offset first, so such a request is a missed check, not a read error.
class CheckedSource : public ByteSource {
  public:
    explicit CheckedSource(const Bytes& bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(uint64_t offset, void* into, size_t size) override {
        if (offset > bytes_.size() || size > bytes_.size() - offset) {
            ADD_FAILURE() << "read of " << size << " bytes at " << offset << " in a file of "
                          << bytes_.size();
            return false;
        }
        std::copy_n(bytes_.begin() + static_cast<ptrdiff_t>(offset), size,
                    static_cast<uint8_t*>(into));
        return true;
    }

  private:
    const Bytes& bytes_;
};

Bytes Extract(ZipReader& reader, const ZipEntry& entry) {
    MemorySink sink;
    reader.Extract(entry, sink);
    return sink.bytes();
}

struct Failure {
    std::optional<ArchiveErrorKind> kind;
    std::string message;
};

template <class Action>
Failure FailureOf(Action action) {
    try {
        action();
    } catch (const ArchiveError& e) {
        return {e.kind(), e.what()};
    }
    return {};
}

// Opens the file and extracts every entry, as the program does at start.
Failure FailureReading(const Bytes& file) {
    return FailureOf([&] {
        CheckedSource source(file);
        ZipReader reader(source);
        for (const ZipEntry& entry : reader.entries())
            Extract(reader, entry);
    });
}

constexpr char kNoArchive[] = "The program file holds no resource archive";

TEST(ZipRoundTripTest, ReadsBackEveryEntryAfterAnExecutablePrefix) {
    const std::vector<ZipWriterEntry> entries = {
        {"velmora.png", BytesOf("123456789"), Time("2010-04-19 13:56:38")},
        {"skins/Classic/face.bmp", Repeated("twelve o'clock ", 20000), Time("2024-02-29 23:59:58")},
        {"empty.txt", {}, Time("1980-01-01 00:00:00")},
        {"noise.bin", Noise(150000), Time("2107-12-31 23:59:59")},
    };
    const Bytes prefix = ExecutablePrefix(4099);
    MemorySource source(Appended(prefix, entries));
    ZipReader reader(source);

    EXPECT_EQ(reader.offset_shift(), 0u);
    ASSERT_EQ(reader.entries().size(), entries.size());
    EXPECT_EQ(reader.entries()[0].local_header_offset, prefix.size());
    EXPECT_EQ(reader.entries()[0].crc32, 0xCBF43926u);  // the CRC-32 check value
    for (size_t i = 0; i < entries.size(); ++i) {
        const ZipEntry& entry = reader.entries()[i];
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.name, entries[i].name);
        EXPECT_EQ(entry.method, 8);
        EXPECT_EQ(entry.flags, 0);
        EXPECT_EQ(entry.uncompressed_size, entries[i].data.size());
        EXPECT_EQ(entry.dos_date, entries[i].modified.date);
        EXPECT_EQ(entry.dos_time, entries[i].modified.time);
        EXPECT_EQ(entry.external_attributes, 0x20u);
        EXPECT_EQ(Extract(reader, entry), entries[i].data);
    }
    // Repetitive data really is deflated; noise larger than a read chunk stays about its size.
    EXPECT_LT(reader.entries()[1].compressed_size, 2000u);
    EXPECT_GT(reader.entries()[3].compressed_size, 64u * 1024);
}

TEST(ZipRoundTripTest, AcceptsOffsetsCountedFromTheArchiveStart) {
    const std::vector<ZipWriterEntry> entries = {
        {"a.txt", BytesOf("first"), Time("2020-01-02 03:04:06")},
        {"b.txt", BytesOf("second"), Time("2020-01-02 03:04:06")}};
    Bytes file = ExecutablePrefix(777);
    const Bytes archive = WriteZipArchive(entries, 0);  // made as a file of its own
    file.insert(file.end(), archive.begin(), archive.end());

    MemorySource source(file);
    ZipReader reader(source);
    EXPECT_EQ(reader.offset_shift(), 777u);
    ASSERT_EQ(reader.entries().size(), 2u);
    EXPECT_EQ(reader.entries()[0].local_header_offset, 777u);
    EXPECT_EQ(Extract(reader, reader.entries()[0]), BytesOf("first"));
    EXPECT_EQ(Extract(reader, reader.entries()[1]), BytesOf("second"));
}

TEST(ZipRoundTripTest, ReadsStoredEntriesAndEmptyArchives) {
    const Bytes data = Noise(200000);  // several read chunks
    MemorySource stored(StoredArchive(64, "velmora.png", data));
    ZipReader stored_reader(stored);
    ASSERT_EQ(stored_reader.entries().size(), 1u);
    EXPECT_EQ(stored_reader.entries()[0].method, 0);
    EXPECT_EQ(Extract(stored_reader, stored_reader.entries()[0]), data);

    MemorySource empty(Appended(ExecutablePrefix(10), {}));
    ZipReader empty_reader(empty);
    EXPECT_TRUE(empty_reader.entries().empty());
    EXPECT_EQ(empty_reader.Find("velmora.png"), nullptr);
}

struct FindCase {
    std::string requested;
    const char* expected;  // the stored name found, null for none
};

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << "'" << c.requested << "'";
}

class ZipFindTest : public testing::TestWithParam<FindCase> {};

TEST_P(ZipFindTest, MatchesWholeNamesBeforeFileNameParts) {
    // "skins/Classic/Face.PNG" comes before "face.png": a whole name still wins over a file name
    // part found earlier.
    std::vector<ZipWriterEntry> entries;
    for (const char* name : {"Velmora.png", "skins/Classic/Face.PNG", "face.png",
                             "skins\\Win\\hand.bmp", "skins/Classic/hand.bmp"}) {
        entries.push_back({name, BytesOf(name), Time("2010-04-19 13:56:38")});
    }
    MemorySource source(Appended(ExecutablePrefix(16), entries));
    ZipReader reader(source);

    const FindCase& c = GetParam();
    const ZipEntry* found = reader.Find(c.requested);
    if (c.expected == nullptr) {
        EXPECT_EQ(found, nullptr) << (found ? found->name : "");
        const Failure failure = FailureOf([&] {
            MemorySink sink;
            reader.Extract(c.requested, sink);
        });
        EXPECT_EQ(failure.kind, ArchiveErrorKind::kNotFound);
        EXPECT_EQ(failure.message, "The resource archive holds no entry '" + c.requested + "'");
    } else {
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->name, c.expected);
        MemorySink sink;
        reader.Extract(c.requested, sink);
        EXPECT_EQ(sink.bytes(), BytesOf(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipFindTest,
    testing::Values(FindCase{"Velmora.png", "Velmora.png"},  // exact
                    FindCase{"VELMORA.PNG", "Velmora.png"},  // letters without case
                    FindCase{"skins/classic/face.png", "skins/Classic/Face.PNG"},
                    FindCase{"face.png", "face.png"},  // whole name first
                    FindCase{"FACE.png", "face.png"},
                    FindCase{"hand.bmp", "skins\\Win\\hand.bmp"},  // either separator, first one
                    FindCase{"HAND.BMP", "skins\\Win\\hand.bmp"},
                    FindCase{"Classic/Face.PNG", nullptr},  // a path tail is no file name
                    FindCase{"velmora", nullptr}, FindCase{"velmora.png ", nullptr},
                    FindCase{"", nullptr}));

TEST(ZipWriterTest, WritesTheSameFixedFieldsInLocalAndCentralHeaders) {
    const uint64_t base = 1000;
    const std::vector<ZipWriterEntry> entries = {
        {"velmora.png", BytesOf("123456789"), Time("2010-04-19 13:56:38")},
        {"skins/face.bmp", Repeated("tick ", 100), Time("2021-07-04 08:09:10")}};
    const Bytes archive = WriteZipArchive(entries, base);

    // 2010-04-19 13:56:38 in MS-DOS words: (30 << 9 | 4 << 5 | 19) and (13 << 11 | 56 << 5 | 19).
    EXPECT_EQ(entries[0].modified.date, 0x3C93);
    EXPECT_EQ(entries[0].modified.time, 0x6F13);

    std::vector<size_t> local_at;
    size_t at = 0;
    for (const ZipWriterEntry& entry : entries) {
        SCOPED_TRACE("local " + entry.name);
        local_at.push_back(at);
        EXPECT_EQ(Get32(archive, at), 0x04034B50u);
        EXPECT_EQ(Get16(archive, at + 4), 20);  // version needed
        EXPECT_EQ(Get16(archive, at + 6), 0);   // flags
        EXPECT_EQ(Get16(archive, at + 8), 8);   // deflated
        EXPECT_EQ(Get16(archive, at + 10), entry.modified.time);
        EXPECT_EQ(Get16(archive, at + 12), entry.modified.date);
        EXPECT_EQ(Get32(archive, at + 22), entry.data.size());
        EXPECT_EQ(Get16(archive, at + 26), entry.name.size());
        EXPECT_EQ(Get16(archive, at + 28), 0);  // extra field
        EXPECT_EQ(
            std::string(archive.begin() + at + 30, archive.begin() + at + 30 + entry.name.size()),
            entry.name);
        at += 30 + entry.name.size() + Get32(archive, at + 18);
    }
    EXPECT_EQ(Get32(archive, 14), 0xCBF43926u);

    const size_t directory_at = at;
    for (size_t i = 0; i < entries.size(); ++i) {
        const ZipWriterEntry& entry = entries[i];
        const size_t local = local_at[i];
        SCOPED_TRACE("central " + entry.name);
        EXPECT_EQ(Get32(archive, at), 0x02014B50u);
        EXPECT_EQ(Get16(archive, at + 4), 20);  // made by version 2.0 on host 0
        EXPECT_EQ(Get16(archive, at + 6), 20);  // version needed
        EXPECT_EQ(Get16(archive, at + 8), 0);   // flags
        EXPECT_EQ(Get16(archive, at + 10), 8);  // deflated
        EXPECT_EQ(Get16(archive, at + 12), entry.modified.time);
        EXPECT_EQ(Get16(archive, at + 14), entry.modified.date);
        EXPECT_EQ(Get32(archive, at + 16), Get32(archive, local + 14));  // CRC-32
        EXPECT_EQ(Get32(archive, at + 20), Get32(archive, local + 18));  // compressed size
        EXPECT_EQ(Get32(archive, at + 24), entry.data.size());
        EXPECT_EQ(Get16(archive, at + 28), entry.name.size());
        EXPECT_EQ(Get16(archive, at + 30), 0);  // extra field
        EXPECT_EQ(Get16(archive, at + 32), 0);  // comment
        EXPECT_EQ(Get16(archive, at + 34), 0);  // disk start
        EXPECT_EQ(Get16(archive, at + 36), 0);  // internal attributes
        EXPECT_EQ(Get32(archive, at + 38), 0x20u);
        EXPECT_EQ(Get32(archive, at + 42), base + local);
        EXPECT_EQ(
            std::string(archive.begin() + at + 46, archive.begin() + at + 46 + entry.name.size()),
            entry.name);
        at += 46 + entry.name.size();
    }

    ASSERT_EQ(archive.size(), at + 22);
    EXPECT_EQ(Get32(archive, at), 0x06054B50u);
    EXPECT_EQ(Get16(archive, at + 4), 0);  // this disk
    EXPECT_EQ(Get16(archive, at + 6), 0);  // directory's disk
    EXPECT_EQ(Get16(archive, at + 8), 2);
    EXPECT_EQ(Get16(archive, at + 10), 2);
    EXPECT_EQ(Get32(archive, at + 12), at - directory_at);
    EXPECT_EQ(Get32(archive, at + 16), base + directory_at);
    EXPECT_EQ(Get16(archive, at + 20), 0);  // no comment
}

struct TimeCase {
    std::string text;
    std::optional<uint16_t> date, time;
};

TEST(ZipWriterTest, ParsesOnlyRealTimesTheFormatCanHold) {
    const TimeCase cases[] = {
        {"2010-04-19 13:56:38", 0x3C93, 0x6F13},
        {"2010-04-19 13:56:39", 0x3C93, 0x6F13},  // two-second steps
        {"1980-01-01 00:00:00", 0x0021, 0x0000},
        {"2107-12-31 23:59:59", 0xFF9F, 0xBF7D},
        {"2024-02-29 12:00:00", 0x585D, 0x6000},
        {"2023-02-29 12:00:00", {}, {}},  // no leap day that year
        {"2100-02-29 12:00:00", {}, {}},
        {"1979-12-31 23:59:59", {}, {}},
        {"2108-01-01 00:00:00", {}, {}},
        {"2010-13-01 00:00:00", {}, {}},
        {"2010-04-31 00:00:00", {}, {}},
        {"2010-04-00 00:00:00", {}, {}},
        {"2010-04-19 24:00:00", {}, {}},
        {"2010-04-19 13:60:00", {}, {}},
        {"2010-04-19 13:56:60", {}, {}},
        {"2010-4-19 13:56:38", {}, {}},
        {"2010-04-19T13:56:38", {}, {}},
        {"2010-04-19 13:56:38 ", {}, {}},
        {"2010-04-19 +3:56:38", {}, {}},
        {"", {}, {}},
    };
    for (const TimeCase& c : cases) {
        const std::optional<DosDateTime> parsed = ParseDosDateTime(c.text);
        EXPECT_EQ(parsed.has_value(), c.date.has_value()) << c.text;
        if (parsed && c.date) {
            EXPECT_EQ(parsed->date, *c.date) << c.text;
            EXPECT_EQ(parsed->time, *c.time) << c.text;
        }
    }
}

TEST(ZipWriterTest, RefusesWhatAnArchiveCannotHold) {
    const DosDateTime time = Time("2010-04-19 13:56:38");
    const std::vector<std::vector<ZipWriterEntry>> refused = {
        {{"../velmora.png", {}, time}},
        {{"C:velmora.png", {}, time}},
        {{"", {}, time}},
        {{"velmora.png", {}, time}, {"VELMORA.PNG", {}, time}},
    };
    for (const std::vector<ZipWriterEntry>& entries : refused) {
        EXPECT_EQ(FailureOf([&] { WriteZipArchive(entries, 0); }).kind,
                  ArchiveErrorKind::kCannotWrite)
            << entries.back().name;
    }
    // Offsets past 4 GiB need Zip64.
    EXPECT_EQ(FailureOf([&] {
                  WriteZipArchive({{"a.txt", {}, time}}, 0xFFFFFFF0ull);
              }).kind,
              ArchiveErrorKind::kCannotWrite);
    EXPECT_EQ(FailureOf([&] {
                  WriteZipArchive({{"a.txt", {}, time}}, 0x100000000ull);
              }).kind,
              ArchiveErrorKind::kCannotWrite);
}

// The archive most damage cases start from: two deflated entries after a prefix, the first of
// 2000 bytes that do not compress, so that its compressed size is known to be at least that.
Bytes DamageFixture() {
    return Appended(ExecutablePrefix(300),
                    {{"velmora.png", Noise(2000), Time("2010-04-19 13:56:38")},
                     {"skins/face.bmp", BytesOf("123456789"), Time("2010-04-19 13:56:38")}});
}

TEST(ZipDamageTest, ReportsACrcMismatch) {
    Bytes stored = StoredArchive(50, "velmora.png", BytesOf("123456789"));
    stored[50 + 30 + 11 + 4] ^= 0x01;  // a byte of the stored data
    EXPECT_EQ(FailureReading(stored).message, "Entry 'velmora.png' is damaged: CRC-32 mismatch");

    Bytes deflated = DamageFixture();
    const size_t directory = LayoutOf(deflated).directory;
    Set32(deflated, directory + 16, Get32(deflated, directory + 16) ^ 0x00010000);
    EXPECT_EQ(FailureReading(deflated).message, "Entry 'velmora.png' is damaged: CRC-32 mismatch");

    Bytes flipped = DamageFixture();
    flipped[300 + 30 + 11 + 5] ^= 0x10;  // inside the deflated data
    EXPECT_EQ(FailureReading(flipped).kind, ArchiveErrorKind::kDamagedEntry);
}

TEST(ZipDamageTest, FindsNoArchiveInATruncatedFile) {
    const Bytes file = DamageFixture();
    const Layout layout = LayoutOf(file);
    const size_t cuts[] = {0,
                           1,
                           21,
                           300,                    // the bare executable
                           300 + 15,               // inside the first local header
                           300 + 30 + 11 + 20,     // inside the first entry's data
                           layout.directory,       // just before the central directory
                           layout.directory + 10,  // inside it
                           layout.end_record,      // just before the end record
                           layout.end_record + 4,  // after its signature
                           file.size() - 1};
    for (size_t cut : cuts) {
        const Failure failure = FailureReading(Bytes(file.begin(), file.begin() + cut));
        EXPECT_EQ(failure.kind, ArchiveErrorKind::kNoArchive) << cut;
        EXPECT_EQ(failure.message, kNoArchive) << cut;
    }
    EXPECT_EQ(FailureReading(Noise(70000)).kind, ArchiveErrorKind::kNoArchive);
}

TEST(ZipDamageTest, RefusesAnArchiveWithBytesCutFromItsMiddle) {
    const Bytes file = DamageFixture();
    const Layout layout = LayoutOf(file);
    struct Cut {
        size_t from, size;
        ArchiveErrorKind kind;
    };
    const Cut cuts[] = {
        {100, 10, ArchiveErrorKind::kDamagedArchive},  // from the executable
        {300 + 10, 4, ArchiveErrorKind::kDamagedArchive},
        {300 + 30 + 11 + 5, 1, ArchiveErrorKind::kDamagedArchive},
        {layout.directory + 10, 1, ArchiveErrorKind::kDamagedArchive},
    };
    for (const Cut& cut : cuts) {
        Bytes damaged = file;
        damaged.erase(damaged.begin() + cut.from, damaged.begin() + cut.from + cut.size);
        const Failure failure = FailureReading(damaged);
        EXPECT_EQ(failure.kind, cut.kind) << cut.from;
        EXPECT_EQ(failure.message.rfind("The resource archive is damaged: ", 0), 0u)
            << failure.message;
    }
}

TEST(ZipDamageTest, NeedsAnEndRecordThatReachesTheEndOfTheFile) {
    struct Ending {
        uint16_t comment_size;
        std::string appended;
        bool accepted;
    };
    const Ending endings[] = {
        {0, "", true},      {5, "hello", true},  {5, "", false},      {0, "x", false},
        {5, "hell", false}, {3, "hello", false}, {0xFFFF, "", false}, {1, "PK\x05\x06", false},
    };
    for (const Ending& ending : endings) {
        Bytes file = DamageFixture();
        Set16(file, file.size() - 2, ending.comment_size);
        file.insert(file.end(), ending.appended.begin(), ending.appended.end());
        const Failure failure = FailureReading(file);
        if (ending.accepted) {
            EXPECT_FALSE(failure.kind.has_value()) << failure.message;
        } else {
            EXPECT_EQ(failure.kind, ArchiveErrorKind::kNoArchive)
                << ending.comment_size << " '" << ending.appended << "'";
        }
    }

    Bytes missing = DamageFixture();
    missing.resize(missing.size() - 22);
    EXPECT_EQ(FailureReading(missing).message, kNoArchive);
}

// A field of the fixture changed to a forged value.
enum class Anchor { kLocal, kCentral, kEnd };

struct Patch {
    Anchor anchor;
    size_t field;
    int width;
    int64_t value;
    bool from_directory = false;  // value is added to where the central directory starts
};

struct Forgery {
    const char* what;
    std::vector<Patch> patches;
    ArchiveErrorKind kind;
};

void PrintTo(const Forgery& f, std::ostream* os) {
    *os << f.what;
}

class ZipForgeryTest : public testing::TestWithParam<Forgery> {};

TEST_P(ZipForgeryTest, IsReportedWithoutReadingOutOfBounds) {
    Bytes file = DamageFixture();
    const Layout layout = LayoutOf(file);
    for (const Patch& patch : GetParam().patches) {
        const size_t base = patch.anchor == Anchor::kLocal     ? 300
                            : patch.anchor == Anchor::kCentral ? layout.directory
                                                               : layout.end_record;
        const int64_t value =
            patch.value + (patch.from_directory ? static_cast<int64_t>(layout.directory) : 0);
        if (patch.width == 2) {
            Set16(file, base + patch.field, static_cast<uint16_t>(value));
        } else {
            Set32(file, base + patch.field, static_cast<uint32_t>(value));
        }
    }
    const Failure failure = FailureReading(file);
    EXPECT_EQ(failure.kind, GetParam().kind) << failure.message;
    if (failure.kind == ArchiveErrorKind::kDamagedEntry) {
        EXPECT_EQ(failure.message.rfind("Entry 'velmora.png' is damaged: ", 0), 0u)
            << failure.message;
    }
}

constexpr ArchiveErrorKind kArchive = ArchiveErrorKind::kDamagedArchive;
constexpr ArchiveErrorKind kEntry = ArchiveErrorKind::kDamagedEntry;
constexpr ArchiveErrorKind kUnsupported = ArchiveErrorKind::kUnsupported;

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipForgeryTest,
    testing::Values(
        Forgery{"header offset past the end", {{Anchor::kCentral, 42, 4, 0xFFFFFFF0}}, kEntry},
        Forgery{"header offset into the directory", {{Anchor::kCentral, 42, 4, -10, true}}, kEntry},
        Forgery{"header offset at the directory", {{Anchor::kCentral, 42, 4, 0, true}}, kEntry},
        Forgery{"header offset at the file start", {{Anchor::kCentral, 42, 4, 0}}, kEntry},
        Forgery{"compressed size past the end", {{Anchor::kCentral, 20, 4, 0xFFFFFFFF}}, kEntry},
        Forgery{"compressed size into the directory", {{Anchor::kCentral, 20, 4, 3000}}, kEntry},
        Forgery{"compressed size short", {{Anchor::kCentral, 20, 4, 20}}, kEntry},
        Forgery{"uncompressed size long", {{Anchor::kCentral, 24, 4, 2001}}, kEntry},
        Forgery{"uncompressed size huge", {{Anchor::kCentral, 24, 4, 0xFFFFFFFF}}, kEntry},
        Forgery{"local name size past the end", {{Anchor::kLocal, 26, 2, 0xFFFF}}, kEntry},
        Forgery{"local extra size past the end", {{Anchor::kLocal, 28, 2, 0xFFFF}}, kEntry},
        Forgery{"local signature", {{Anchor::kLocal, 0, 4, 0x04034B51}}, kEntry},
        Forgery{"local method differs", {{Anchor::kLocal, 8, 2, 0}}, kEntry},
        Forgery{"local name differs", {{Anchor::kLocal, 30, 2, 'V' | 'E' << 8}}, kEntry},
        Forgery{"local flags encrypted", {{Anchor::kLocal, 6, 2, 1}}, kUnsupported},
        Forgery{"central flags encrypted", {{Anchor::kCentral, 8, 2, 1}}, kUnsupported},
        Forgery{
            "method 12", {{Anchor::kLocal, 8, 2, 12}, {Anchor::kCentral, 10, 2, 12}}, kUnsupported},
        Forgery{"central name size past the end", {{Anchor::kCentral, 28, 2, 0xFFFF}}, kArchive},
        Forgery{"central extra size past the end", {{Anchor::kCentral, 30, 2, 0xFFFF}}, kArchive},
        Forgery{"central signature", {{Anchor::kCentral, 0, 4, 0}}, kArchive},
        Forgery{"directory size past the start", {{Anchor::kEnd, 12, 4, 0xFFFFFFFF}}, kArchive},
        Forgery{"directory size short", {{Anchor::kEnd, 12, 4, 46}}, kArchive},
        Forgery{"directory offset past the end", {{Anchor::kEnd, 16, 4, 0xFFFFFFFF}}, kArchive},
        Forgery{"directory offset one on", {{Anchor::kEnd, 16, 4, 1, true}}, kArchive},
        // Taken as offsets counted from the archive: the entries then lie past the directory.
        Forgery{"directory offset too small", {{Anchor::kEnd, 16, 4, 0}}, kEntry},
        Forgery{"more entries than written",
                {{Anchor::kEnd, 8, 2, 3}, {Anchor::kEnd, 10, 2, 3}},
                kArchive},
        Forgery{"fewer entries than written",
                {{Anchor::kEnd, 8, 2, 1}, {Anchor::kEnd, 10, 2, 1}},
                kArchive},
        Forgery{"entry count past the directory",
                {{Anchor::kEnd, 8, 2, 0xFFFF}, {Anchor::kEnd, 10, 2, 0xFFFF}},
                kArchive},
        Forgery{"second disk", {{Anchor::kEnd, 4, 2, 1}}, kUnsupported},
        Forgery{"entry counts disagree", {{Anchor::kEnd, 8, 2, 1}}, kUnsupported}));

TEST(ZipDamageTest, StopsAnEntryThatInflatesBeyondItsStatedSize) {
    // A megabyte of zeros deflates to about a kilobyte; the directory claims a thousand bytes.
    Bytes file = Appended(ExecutablePrefix(100),
                          {{"zeros.bin", Bytes(1 << 20, 0), Time("2010-04-19 13:56:38")}});
    Set32(file, LayoutOf(file).directory + 24, 1000);
    CheckedSource source(file);
    ZipReader reader(source);
    MemorySink sink;
    const Failure failure = FailureOf([&] { reader.Extract(reader.entries()[0], sink); });
    EXPECT_EQ(failure.message, "Entry 'zeros.bin' is damaged: it holds more data than stated");
    EXPECT_LE(sink.bytes().size(), 1000u);
}

TEST(ZipDamageTest, StopsWhenTheSinkRefuses) {
    MemorySource source(DamageFixture());
    ZipReader reader(source);
    MemorySink sink(100);
    const Failure failure = FailureOf([&] { reader.Extract("velmora.png", sink); });
    EXPECT_EQ(failure.kind, ArchiveErrorKind::kWriteFailed);
    EXPECT_EQ(failure.message, "Entry 'velmora.png' cannot be written");
}

TEST(ZipDamageTest, RefusesStoredEntriesWhoseSizesDisagree) {
    Bytes file = StoredArchive(0, "velmora.png", BytesOf("123456789"));
    Set32(file, LayoutOf(file).directory + 24, 8);
    EXPECT_EQ(FailureReading(file).message,
              "Entry 'velmora.png' is damaged: its stored sizes disagree");
}

struct NameCase {
    std::string name;
    bool safe;
};

TEST(IsSafeEntryNameTest, RefusesNamesThatLeaveTheFolder) {
    const NameCase cases[] = {
        {"velmora.png", true},
        {"skins/Classic/face.png", true},
        {"skins\\Classic\\face.png", true},
        {"..velmora.png", true},
        {"a..b/c", true},
        {"a/.../b", true},
        {"a/./b", true},
        {"\xC3\x9C"
         "ber.png",
         true},  // UTF-8
        {"", false},
        {"../x", false},
        {"..\\x", false},
        {"..", false},
        {"a/..", false},
        {"a/../../b", false},
        {"a\\..\\b", false},
        {"/etc/x", false},
        {"\\x", false},
        {"C:x", false},
        {"c:\\x", false},
        {"face.png:stream", false},
        {"x\ny", false},
        {"tab\there", false},
        {std::string("a\0b", 3), false},
        {"del\x7F", false},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(IsSafeEntryName(c.name), c.safe) << c.name;
}

TEST(IsSafeEntryNameTest, ExtractionRefusesUnsafeNamesLikeDamage) {
    struct Listed {
        std::string stored, shown;
    };
    const Listed names[] = {{"../evil.txt", "../evil.txt"},
                            {"/etc/passwd", "/etc/passwd"},
                            {"C:x", "C:x"},
                            {"bell\a.txt", "bell?.txt"}};
    for (const Listed& name : names) {
        MemorySource source(StoredArchive(20, name.stored, BytesOf("payload")));
        ZipReader reader(source);
        ASSERT_EQ(reader.entries().size(), 1u);
        EXPECT_EQ(reader.entries()[0].name, name.stored);  // listed as stored
        MemorySink sink;
        const Failure failure = FailureOf([&] { reader.Extract(reader.entries()[0], sink); });
        EXPECT_EQ(failure.kind, ArchiveErrorKind::kDamagedEntry);
        EXPECT_EQ(failure.message,
                  "Entry '" + name.shown + "' is damaged: its name is not a safe file name");
        EXPECT_TRUE(sink.bytes().empty());
    }
}

}  // namespace
}  // namespace velmora
