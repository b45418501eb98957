// Bad settings, a damaged program file and troublesome temporary folders: each has its defined
// outcome, and after each the face is shown, of its size, and answers a right click.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "archive/zip_format.h"
#include "archive/zip_writer.h"
#include "archived_skin.h"
#include "face/plain_dial.h"
#include "gdiplus_session.h"
#include "keyboard.h"
#include "mouse.h"
#include "registry_access.h"
#include "screen.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Get32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t Get16(const Bytes& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
void Set32(Bytes& b, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Where the parts of one entry of the program's own archive lie in velmora.exe.
struct EntryPlace {
    size_t central;  // its central directory header
    size_t local;    // its local header
    size_t data;     // its compressed data
    uint32_t compressedSize;
};

using zip::kCentralHeaderSize;
using zip::kEndRecordSize;
using zip::kLocalHeaderSize;

size_t DirectoryStart(const Bytes& exe) {
    return Get32(exe, exe.size() - kEndRecordSize + 16);
}

EntryPlace PlaceOf(const Bytes& exe, const std::string& name) {
    size_t at = DirectoryStart(exe);
    const uint16_t count = Get16(exe, exe.size() - kEndRecordSize + 10);
    for (uint16_t i = 0; i < count; ++i) {
        const uint16_t nameSize = Get16(exe, at + 28);
        const size_t nameAt = at + kCentralHeaderSize;
        const size_t next = nameAt + nameSize + Get16(exe, at + 30) + Get16(exe, at + 32);
        if (std::string(exe.begin() + nameAt, exe.begin() + nameAt + nameSize) == name) {
            const size_t local = Get32(exe, at + 42);
            const size_t data =
                local + kLocalHeaderSize + Get16(exe, local + 26) + Get16(exe, local + 28);
            return {at, local, data, Get32(exe, at + 20)};
        }
        at = next;
    }
    ADD_FAILURE() << "velmora.exe has no entry " << name;
    return {};
}

// What a row does to the world before the clock starts, and what the clock must show for it.
struct Situation {
    std::wstring temp;       // the temporary folder the clock gets
    std::wstring exe;        // the program file it runs from (empty: the built one)
    bool plainDial = false;  // no skin image can be had
};

class HostileInputTest : public ::testing::Test {
  protected:
    void SetUp() override { DeleteUserKey(kStoreKey); }
    void TearDown() override { DeleteUserKey(kStoreKey); }

    // A copy of the built program, changed by damage, in the test's folder. It keeps the program's
    // file name, which the Wine prefix's settings for the program go by.
    std::wstring DamagedCopy(const std::function<void(Bytes&)>& damage) {
        Bytes exe = ReadFileBytes(BuildDirectory() + L"velmora.exe");
        EXPECT_GT(exe.size(), 100000u);
        damage(exe);
        const std::wstring path = folder_.File(L"velmora.exe");
        EXPECT_TRUE(WriteFileBytes(path, exe));
        return path;
    }

    // Starts the clock, answers its message boxes (Ignore where a box offers it, else OK) and
    // checks that its face can be reached. Returns the texts of the boxes, in order.
    std::vector<std::wstring> StartAndReach(const Situation& situation, size_t expectedBoxes) {
        VelmoraProcess clock(situation.temp, situation.exe);
        std::vector<std::wstring> texts;
        HWND face = nullptr;
        const bool settled = WaitUntil(
            [&] {
                if (const HWND box = clock.WaitForMessageBox(0)) {
                    texts.push_back(MessageBoxText(box));
                    const int answer = GetDlgItem(box, IDIGNORE) ? IDIGNORE : IDOK;
                    PostMessageW(box, WM_COMMAND, answer, 0);
                    WaitUntil([&] { return !IsWindow(box); }, 3000);
                }
                face = clock.Windows().main;
                return texts.size() >= expectedBoxes && face && IsWindowVisible(face);
            },
            10000);
        EXPECT_TRUE(settled) << clock.Diagnosis();
        if (!settled) return texts;
        ExpectReachable(clock, face, situation.plainDial);
        clock.Close();
        EXPECT_EQ(clock.WaitForExit(), 0u);
        return texts;
    }

    // Shown at its size with its dial under the mouse, and a right click opens its menu.
    void ExpectReachable(const VelmoraProcess& clock, HWND face, bool plainDial) {
        RECT bounds;
        GetWindowRect(face, &bounds);
        EXPECT_EQ(bounds.right - bounds.left, kFaceWidth);  // at once, not only from a tick on
        EXPECT_EQ(bounds.bottom - bounds.top, kFaceHeight);
        Sleep(1200);  // a tick at least, so that what the face shows is its settled state
        // The plain dial's slate grey at the grip point, or a skin's colour there.
        const POINT grip{bounds.left + 126, bounds.top + 215};
        const uint32_t dial = PlainDial()[215 * kFaceWidth + 126];
        const ScreenShot shot(RECT{grip.x, grip.y, grip.x + 1, grip.y + 1});
        EXPECT_EQ(Near(shot.At(0, 0), ShownColour(dial), 2), plainDial)
            << std::hex << shot.At(0, 0) << " against the plain dial's " << ShownColour(dial);

        const auto menuOfClock = [&] {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            DWORD owner = 0;
            if (menu) GetWindowThreadProcessId(menu, &owner);
            return menu && IsWindowVisible(menu) && owner == clock.id();
        };
        MoveMouseTo(grip.x, grip.y);
        PressButton(MOUSEEVENTF_RIGHTDOWN);
        ReleaseButton(MOUSEEVENTF_RIGHTUP);
        EXPECT_TRUE(WaitUntil(menuOfClock, 3000)) << "no menu on a right click";
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !menuOfClock(); }, 3000));
    }

    win::GdiplusSession gdiplus_;
    ScratchFolder folder_{L"hostile"};
};

struct RegistryCase {
    const char* what;
    const wchar_t* name;  // null: only the store key, without the clock's section
    DWORD type;
    std::string bytes;
    std::wstring report;       // the one message box expected, or none
    const wchar_t* skinImage;  // the image the chosen skin takes out
};

// A string value's bytes: UTF-16 with the terminating zero.
std::string Text(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()),
                       (text.size() + 1) * sizeof(wchar_t));
}
std::string Number(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

TEST_F(HostileInputTest, EveryBadStoredValueHasItsOutcomeAndTheFaceStaysReachable) {
    const RegistryCase cases[] = {
        {"skin as a number", L"skin", REG_DWORD, Number(1), L"Invalid data type for 'skin'",
         L"velmora.png"},
        {"top as bytes", L"top", REG_BINARY, "\x01\x02", L"Invalid data type for 'top'",
         L"velmora.png"},
        {"left as a list", L"left", REG_MULTI_SZ, Text(L"1") + std::string(2, '\0'),
         L"Invalid data type for 'left'", L"velmora.png"},
        {"bud as a number", L"bud", REG_DWORD, Number(730), L"Invalid data type for 'bud'",
         L"velmora.png"},
        {"bud not numbers", L"bud", REG_SZ, Text(L"ab:cd"), L"'ab' is not a valid integer value.",
         L"velmora.png"},
        {"empty skin", L"skin", REG_SZ, Text(L""), L"", L"velmora.png"},
        {"skin garbage", L"skin", REG_SZ, Text(L"wall"), L"", L"velmora.png"},
        {"skin in Cyrillic", L"skin", REG_SZ, Text(L"два"), L"", L"velmora.png"},
        {"skin out of range", L"skin", REG_SZ, Text(L"3"), L"", L"velmora.png"},
        {"skin negative", L"skin", REG_SZ, Text(L"-1"), L"", L"velmora.png"},
        {"skin huge", L"skin", REG_SZ, Text(L"99999999999"), L"", L"velmora.png"},
        {"skin hexadecimal", L"skin", REG_SZ, Text(L"$1"), L"", L"Velmora1.png"},
        {"skin 0x form", L"skin", REG_SZ, Text(L"0x2"), L"", L"velmora2.png"},
        {"top huge", L"top", REG_SZ, Text(L"99999999999999999999"), L"", L"velmora.png"},
        {"left all ones", L"left", REG_SZ, Text(L"$FFFFFFFF"), L"", L"velmora.png"},
        {"effects as a number", L"eff", REG_DWORD, Number(0), L"", L"velmora.png"},
        {"sound as bytes", L"sound", REG_BINARY, "\xFF", L"", L"velmora.png"},
        {"no section", nullptr, REG_SZ, "", L"", L"velmora.png"},
    };
    for (const RegistryCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteUserKey(kStoreKey);
        if (c.name) {
            WriteStoredValue(kSectionKey, c.name, c.type, c.bytes);
        } else {
            WriteStoredText(kStoreKey, L"other", L"kept");
        }
        const ScratchFolder temp(L"temp");
        const auto texts = StartAndReach({temp.path(), L"", false}, c.report.empty() ? 0 : 1);
        if (c.report.empty()) {
            EXPECT_TRUE(texts.empty())
                << (texts.empty() ? "" : "box: ") << ::testing::PrintToString(texts);
        } else {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0], c.report);
        }
        // Only the chosen skin's image is left once the face has closed... which deletes it: the
        // stored choice says which skin it was.
        const auto skin = ReadStoredValue(kSectionKey, L"skin");
        ASSERT_TRUE(skin);
        const std::wstring image = c.skinImage;
        const char expected = image == L"Velmora1.png" ? '1' : image == L"velmora2.png" ? '2' : '0';
        EXPECT_EQ(skin->bytes, std::string(1, expected) + '\0');
        if (!c.name) {
            EXPECT_TRUE(ReadStoredValue(kStoreKey, L"other"));  // nothing lost
        }
    }
}

TEST_F(HostileInputTest, AStoreKeyDeletedWhileRunningIsWrittenAgainAtClose) {
    const ScratchFolder temp(L"temp");
    VelmoraProcess clock(temp.path());
    const HWND face = clock.WaitForFace().main;
    ASSERT_TRUE(face) << clock.Diagnosis();
    DeleteUserKey(kStoreKey);
    SetWindowPos(face, nullptr, 320, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return TopLeftOf(face).x == 320; }, 2000));
    Sleep(1200);  // ticks go on without the key
    EXPECT_EQ(clock.WaitForMessageBox(0), nullptr);
    clock.Close();
    EXPECT_EQ(clock.WaitForExit(), 0u);
    const auto top = ReadStoredValue(kSectionKey, L"top");
    const auto left = ReadStoredValue(kSectionKey, L"left");
    ASSERT_TRUE(top && left);
    EXPECT_EQ(top->bytes, std::string("210", 4));
    EXPECT_EQ(left->bytes, std::string("320", 4));
}

struct ArchiveCase {
    const char* what;
    int storedSkin;
    std::function<void(Bytes&)> damage;
    std::wstring reportStart;  // how the one message box begins
    bool plainDial;
};

// A byte in the middle of an entry's compressed data, flipped.
std::function<void(Bytes&)> FlipIn(const std::string& entry) {
    return [entry](Bytes& exe) {
        const EntryPlace place = PlaceOf(exe, entry);
        exe[place.data + place.compressedSize / 2] ^= 0x5A;
    };
}

std::function<void(Bytes&)> CutAt(std::function<size_t(const Bytes&)> where) {
    return [where](Bytes& exe) { exe.resize(where(exe)); };
}

constexpr const wchar_t* kNoArchive = L"The program file holds no resource archive.";

TEST_F(HostileInputTest, ADamagedProgramFileIsReportedAndThePlainDialStandsInForItsSkin) {
    const ArchiveCase cases[] = {
        {"cut where the image ends", 0,
         CutAt([](const Bytes& exe) { return PlaceOf(exe, "velmora.png").local; }), kNoArchive,
         true},
        {"cut in the first entry", 0,
         CutAt([](const Bytes& exe) { return PlaceOf(exe, "velmora.png").data + 1000; }),
         kNoArchive, true},
        {"cut in the central directory", 0,
         CutAt([](const Bytes& exe) { return DirectoryStart(exe) + 50; }), kNoArchive, true},
        {"cut in the end record", 0, CutAt([](const Bytes& exe) { return exe.size() - 5; }),
         kNoArchive, true},
        {"end record missing", 0,
         [](Bytes& exe) { Set32(exe, exe.size() - kEndRecordSize, 0x12345678); }, kNoArchive, true},
        {"end record forged", 0,
         [](Bytes& exe) { Set32(exe, exe.size() - kEndRecordSize + 16, 0xFFFFFF00); },
         L"The resource archive is damaged: ", true},
        {"wrist skin flipped", 0, FlipIn("velmora.png"), L"Entry 'velmora.png' is damaged: ", true},
        {"wall skin flipped", 1, FlipIn("velmora1.png"), L"Entry 'velmora1.png' is damaged: ",
         true},
        {"antique skin flipped", 2, FlipIn("velmora2.png"), L"Entry 'velmora2.png' is damaged: ",
         true},
        {"sound flipped", 0, FlipIn("Velmora.wav"), L"Entry 'Velmora.wav' is damaged: ", false},
        {"skin claims gigabytes", 0,
         [](Bytes& exe) {
             const EntryPlace place = PlaceOf(exe, "velmora.png");
             Set32(exe, place.central + 24, 0xFFFFFFF0);
             Set32(exe, place.local + 22, 0xFFFFFFF0);
         },
         L"Entry 'velmora.png' is damaged: ", true},
        {"skin name leaves the folder", 0,
         [](Bytes& exe) {
             // The archive written anew with one entry whose name climbs out of the folder.
             exe.resize(PlaceOf(exe, "velmora.png").local);
             const Bytes png(1000, 0x42);
             const Bytes archive = WriteZipArchive(
                 {{"xx/velmora.png", png, *ParseDosDateTime("2010-04-06 09:22:18")}}, exe.size());
             exe.insert(exe.end(), archive.begin(), archive.end());
             for (size_t i = exe.size() - archive.size(); i + 2 < exe.size(); ++i) {
                 if (exe[i] == 'x' && exe[i + 1] == 'x' && exe[i + 2] == '/')
                     exe[i] = exe[i + 1] = '.';
             }
         },
         L"Entry '../velmora.png' has a name that leaves its folder", true},
    };
    for (const ArchiveCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteUserKey(kStoreKey);
        WriteStoredText(kSectionKey, L"skin", std::to_wstring(c.storedSkin));
        const ScratchFolder temp(L"temp");
        const std::wstring outside =
            temp.path().substr(0, temp.path().rfind(L'\\', temp.path().size() - 2) + 1);
        DeleteFileW((outside + L"velmora.png").c_str());  // what earlier runs may have left
        const std::wstring exe = DamagedCopy(c.damage);
        const auto texts = StartAndReach({temp.path(), exe, c.plainDial}, 1);
        ASSERT_GE(texts.size(), 1u);
        EXPECT_EQ(texts[0].rfind(c.reportStart, 0), 0u) << ::testing::PrintToString(texts[0]);
        // Nothing lands outside the temporary folder.
        EXPECT_FALSE(FileExists(outside + L"velmora.png")) << ::testing::PrintToString(outside);
        DeleteFileW(exe.c_str());
    }
}

struct FileCase {
    const char* what;
    // Prepares the temporary folder; returns a handle to close once the clock has started.
    std::function<HANDLE(const std::wstring& temp)> prepare;
    std::wstring reportStart;  // how the one message box begins; empty: no box
    bool plainDial;
};

HANDLE WriteFileWithAttributes(const std::wstring& path, DWORD attributes) {
    WriteFileBytes(path, Bytes(10, 0x42));  // no image
    SetFileAttributesW(path.c_str(), attributes);
    return nullptr;
}

TEST_F(HostileInputTest, TroublesomeTemporaryFilesHaveTheirOutcomeAndTheFaceStaysReachable) {
    const FileCase cases[] = {
        {"stale read-only image",
         [](const std::wstring& temp) {
             return WriteFileWithAttributes(temp + L"velmora.png", FILE_ATTRIBUTE_READONLY);
         },
         L"", false},
        {"image locked by another program",
         [](const std::wstring& temp) {
             WriteFileWithAttributes(temp + L"velmora.png", FILE_ATTRIBUTE_NORMAL);
             return CreateFileW((temp + L"velmora.png").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
         },
         L"Cannot replace the file ", true},
        {"temporary folder missing",
         [](const std::wstring& temp) {
             RemoveDirectoryW(temp.c_str());
             return nullptr;
         },
         L"", false},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteUserKey(kStoreKey);
        const ScratchFolder temp(L"temp");
        const HANDLE held = c.prepare(temp.path());
        const auto texts =
            StartAndReach({temp.path(), L"", c.plainDial}, c.reportStart.empty() ? 0 : 1);
        if (held && held != INVALID_HANDLE_VALUE) CloseHandle(held);
        if (c.reportStart.empty()) {
            EXPECT_TRUE(texts.empty()) << ::testing::PrintToString(texts);
        } else {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(texts[0].rfind(c.reportStart, 0), 0u) << ::testing::PrintToString(texts[0]);
            EXPECT_NE(texts[0].find(L"possibly disk is full"), std::wstring::npos);
        }
        EXPECT_TRUE(FileExists(temp.File(L"Velmora.wav")));  // the folder is there and usable
    }
}

// The test command mounts a small file system of its own (see tests/win/CMakeLists.txt) and
// names it here; it has room for the alarm sound but not for a skin image.
TEST_F(HostileInputTest, AFullDiskIsReportedAndThePlainDialStandsIn) {
    wchar_t folder[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"VELMORA_FULL_DISK", folder, MAX_PATH);
    if (!*folder || !FileExists(std::wstring(folder) + L"mounted")) {
        GTEST_SKIP() << "no small file system was mounted for this test";
    }
    const auto texts = StartAndReach({folder, L"", true}, 1);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0],
              L"Entry 'velmora.png' cannot be written. File processing error, possibly disk is "
              L"full");
    EXPECT_FALSE(FileExists(std::wstring(folder) + L"velmora.png.part"));  // nothing half written
    EXPECT_TRUE(FileExists(std::wstring(folder) + L"Velmora.wav"));
    DeleteFileW((std::wstring(folder) + L"Velmora.wav").c_str());
}

}  // namespace
}  // namespace velmora::testing
