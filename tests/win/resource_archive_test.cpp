// Taking resources out of an executable's appended archive into a folder: the real velmora.exe,
// and copies of it that are damaged or forged on purpose.
#include "resource_archive.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/zip_reader.h"
#include "archive/zip_writer.h"
#include "message_box_answerer.h"
#include "velmora_process.h"

namespace velmora::win {
namespace {

using testing::FileExists;
using testing::MessageBoxAnswerer;
using testing::ScratchFolder;

std::wstring Velmora() {
    return testing::BuildDirectory() + L"velmora.exe";
}

// The archive's own record of an entry, read with the portable reader.
ZipEntry EntryOf(const std::string& name) {
    MemorySource source(testing::ReadFileBytes(Velmora()));
    ZipReader reader(source);
    return *reader.Find(name);
}

class ResourceArchiveTest : public ::testing::Test {
  protected:
    ScratchFolder folder_{L"archive"};
};

TEST_F(ResourceArchiveTest, TheDefaultSoundComesOutWithItsBytesTimeAndAttributes) {
    ExtractResource(Velmora(), L"Velmora.wav", folder_.path());
    const std::wstring sound = folder_.File(L"Velmora.wav");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(sound.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 30000u);
    EXPECT_EQ(data.dwFileAttributes & ~FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    FILETIME local;
    SYSTEMTIME time;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &time);
    EXPECT_EQ(time.wYear, 2010);
    EXPECT_EQ(time.wMonth, 4);
    EXPECT_EQ(time.wDay, 19);
    EXPECT_EQ(time.wHour, 13);
    EXPECT_EQ(time.wMinute, 56);
    EXPECT_EQ(time.wSecond, 38);
    const std::vector<uint8_t> bytes = testing::ReadFileBytes(sound);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_FALSE(FileExists(sound + L".part"));
}

TEST_F(ResourceArchiveTest, NamesMatchWithoutCaseAndTheFileKeepsTheStoredName) {
    ExtractResource(Velmora(), L"Velmora1.png", folder_.path());
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(folder_.File(L"*.png").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(found.cFileName, L"velmora1.png");
    EXPECT_FALSE(FindNextFileW(search, &found));
    FindClose(search);
}

TEST_F(ResourceArchiveTest, AReadOnlyOrHiddenFileIsReplaced) {
    const std::wstring image = folder_.File(L"velmora2.png");
    testing::WriteFileBytes(image, {1, 2, 3});
    SetFileAttributesW(image.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ExtractResource(Velmora(), L"velmora2.png", folder_.path());
    EXPECT_EQ(testing::ReadFileBytes(image).size(), EntryOf("velmora2.png").uncompressed_size);
    EXPECT_EQ(GetFileAttributesW(image.c_str()) & ~FILE_ATTRIBUTE_NOT_CONTENT_INDEXED,
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(ResourceArchiveTest, ANameNoEntryHasExtractsNothingAndSaysNothing) {
    MessageBoxAnswerer answerer({IDOK});
    ExtractResource(Velmora(), L".png", folder_.path());
    ExtractResource(Velmora(), L"velmora3.png", folder_.path());
    Sleep(200);
    EXPECT_TRUE(answerer.texts().empty());
    EXPECT_FALSE(FileExists(folder_.File(L".png")));
}

TEST_F(ResourceArchiveTest, AFileWithoutAnArchiveIsAnError) {
    try {
        ExtractResource(testing::BuildDirectory() + L"record_call.exe", L"velmora.png",
                        folder_.path());
        FAIL() << "no error";
    } catch (const ArchiveError& error) {
        EXPECT_STREQ(error.what(), "The program file holds no resource archive");
    }
    EXPECT_THROW(ExtractResource(folder_.File(L"missing.exe"), L"velmora.png", folder_.path()),
                 ArchiveError);
}

// A copy of velmora.exe with one byte of the wrist skin's compressed data changed.
std::wstring DamagedCopy(const ScratchFolder& folder) {
    std::vector<uint8_t> bytes = testing::ReadFileBytes(Velmora());
    const ZipEntry entry = EntryOf("velmora.png");
    const size_t data = entry.local_header_offset + 30 + entry.name.size() + 1000;
    bytes[data] ^= 0x55;
    const std::wstring copy = folder.File(L"damaged.exe");
    testing::WriteFileBytes(copy, bytes);
    return copy;
}

TEST_F(ResourceArchiveTest, ADamagedEntryAsksAndIgnoreLeavesNoFile) {
    const std::wstring damaged = DamagedCopy(folder_);
    MessageBoxAnswerer answerer({IDIGNORE});
    ExtractResource(damaged, L"velmora.png", folder_.path());  // returns normally
    ASSERT_EQ(answerer.texts().size(), 1u);
    const std::wstring text = answerer.texts()[0];
    EXPECT_EQ(text.substr(0, 19), L"Entry 'velmora.png'");
    const std::wstring tail = L". File processing error, possibly disk is full";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_FALSE(FileExists(folder_.File(L"velmora.png")));
    EXPECT_FALSE(FileExists(folder_.File(L"velmora.png.part")));
}

TEST_F(ResourceArchiveTest, RetryRepeatsTheEntryAndAbortEndsWithTheOldFileKept) {
    const std::wstring damaged = DamagedCopy(folder_);
    const std::wstring image = folder_.File(L"velmora.png");
    testing::WriteFileBytes(image, {7, 7, 7});
    MessageBoxAnswerer answerer({IDRETRY, IDRETRY, IDABORT});
    ExtractResource(damaged, L"velmora.png", folder_.path());
    EXPECT_EQ(answerer.texts().size(), 3u);
    EXPECT_EQ(testing::ReadFileBytes(image), (std::vector<uint8_t>{7, 7, 7}));
}

TEST_F(ResourceArchiveTest, AnEntryNameThatLeavesTheFolderIsRefused) {
    // A name of the same length is written, then turned into one that climbs out.
    const std::vector<uint8_t> png(100, 0x42);
    std::vector<uint8_t> exe(512, 0x4D);
    const std::vector<uint8_t> archive = WriteZipArchive(
        {{"xx/evil.png", png, *ParseDosDateTime("2010-04-19 13:56:38")}}, exe.size());
    exe.insert(exe.end(), archive.begin(), archive.end());
    for (size_t i = 0; i + 2 < exe.size(); ++i) {
        if (exe[i] == 'x' && exe[i + 1] == 'x' && exe[i + 2] == '/') exe[i] = exe[i + 1] = '.';
    }
    const std::wstring forged = folder_.File(L"forged.exe");
    testing::WriteFileBytes(forged, exe);
    CreateDirectoryW(folder_.File(L"inner").c_str(), nullptr);

    MessageBoxAnswerer answerer({IDIGNORE});
    ExtractResource(forged, L"evil.png", folder_.File(L"inner\\"));
    ASSERT_EQ(answerer.texts().size(), 1u);
    EXPECT_NE(answerer.texts()[0].find(L"../evil.png"), std::wstring::npos) << answerer.texts()[0];
    EXPECT_FALSE(FileExists(folder_.File(L"evil.png")));
    EXPECT_FALSE(FileExists(folder_.File(L"inner\\evil.png")));
    RemoveDirectoryW(folder_.File(L"inner").c_str());
}

TEST_F(ResourceArchiveTest, OnlyAVisibleVelmoraWavCountsAsTheDefaultSound) {
    const std::wstring sound = folder_.File(L"VELMORA.WAV");
    EXPECT_FALSE(DefaultSoundPresent(folder_.path()));
    testing::WriteFileBytes(sound, {1});
    EXPECT_TRUE(DefaultSoundPresent(folder_.path()));  // any letter case, any content
    SetFileAttributesW(sound.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(DefaultSoundPresent(folder_.path()));
    SetFileAttributesW(sound.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The archive as the build appends it: its entries and their fields, right after the image.
TEST(BuiltArchiveTest, FollowsTheExecutableImageWithTheFourEntriesInOrder) {
    const std::vector<uint8_t> exe = testing::ReadFileBytes(Velmora());
    const auto u16 = [&](size_t at) { return static_cast<uint32_t>(exe[at] | exe[at + 1] << 8); };
    const auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };

    // Where the image ends: the raw data of its last section.
    const size_t pe = u32(0x3C);
    const size_t sections = u16(pe + 6);
    const size_t table = pe + 24 + u16(pe + 20);
    size_t imageEnd = 0;
    for (size_t i = 0; i < sections; ++i) {
        const size_t header = table + i * 40;
        imageEnd = std::max<size_t>(imageEnd, u32(header + 20) + u32(header + 16));
    }

    // The end record is the last 22 bytes; the directory lies right before it.
    const size_t end = exe.size() - 22;
    ASSERT_EQ(u32(end), 0x06054B50u);
    EXPECT_EQ(u16(end + 4), 0u);
    EXPECT_EQ(u16(end + 6), 0u);
    EXPECT_EQ(u16(end + 8), 4u);
    EXPECT_EQ(u16(end + 10), 4u);
    EXPECT_EQ(u32(end + 16) + u32(end + 12), end);  // offsets count from the start of the file
    EXPECT_EQ(u16(end + 20), 0u);                   // no comment

    const struct {
        const char* name;
        const char* time;
    } expected[] = {{"velmora.png", "2010-04-06 09:22:18"},
                    {"velmora1.png", "2010-04-20 09:23:20"},
                    {"velmora2.png", "2010-04-20 10:55:34"},
                    {"Velmora.wav", "2010-04-19 13:56:38"}};
    size_t central = u32(end + 16);
    size_t local = imageEnd;  // the first entry starts where the image ends
    for (const auto& e : expected) {
        ASSERT_EQ(u32(central), 0x02014B50u) << e.name;
        EXPECT_EQ(u16(central + 4), 20u);  // made by: zip 2.0, MS-DOS
        EXPECT_EQ(u16(central + 6), 20u);
        EXPECT_EQ(u16(central + 8), 0u);   // flags
        EXPECT_EQ(u16(central + 10), 8u);  // deflate
        const DosDateTime time = *ParseDosDateTime(e.time);
        EXPECT_EQ(u16(central + 12), time.time) << e.name;
        EXPECT_EQ(u16(central + 14), time.date) << e.name;
        const size_t nameLength = u16(central + 28);
        EXPECT_EQ(std::string(exe.begin() + central + 46, exe.begin() + central + 46 + nameLength),
                  e.name);
        EXPECT_EQ(u16(central + 30), 0u);  // extra
        EXPECT_EQ(u16(central + 32), 0u);  // comment
        EXPECT_EQ(u16(central + 34), 0u);  // disk
        EXPECT_EQ(u16(central + 36), 0u);  // internal attributes
        EXPECT_EQ(u32(central + 38), 0x20u);
        EXPECT_EQ(u32(central + 42), local) << e.name;  // entries follow one another

        ASSERT_EQ(u32(local), 0x04034B50u) << e.name;
        for (size_t field = 4; field < 26; field += 2) {  // local header = directory fields
            EXPECT_EQ(u16(local + field), u16(central + field + 2)) << e.name << " " << field;
        }
        EXPECT_EQ(u16(local + 28), 0u);
        local += 30 + nameLength + u32(central + 20);
        central += 46 + nameLength;
    }
    EXPECT_EQ(local, u32(end + 16));  // the last entry's data ends where the directory begins
    EXPECT_EQ(central, end);
}

}  // namespace
}  // namespace velmora::win
