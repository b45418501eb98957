// The alarm going off in the real velmora.exe under a clock of the test's choosing (libfaketime
// reads it from a file the test writes) with the sound captured by ALSA into files (see the
// e2e_alarm test's environment in tests/win/CMakeLists.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "archive/zip_reader.h"
#include "mouse.h"
#include "registry_access.h"
#include "velmora_process.h"

namespace velmora::testing {
namespace {

// A Unix path from this process's environment as a Windows path on Wine's drive Z:.
std::wstring UnixPathFromEnvironment(const wchar_t* name) {
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    std::wstring path(value, length);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path.empty() ? path : L"Z:" + path;
}

void WriteText(const std::wstring& path, const std::string& text) {
    WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\play-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The samples of the default alarm sound, as the program carries them.
std::vector<uint8_t> ChimeSamples() {
    const std::wstring exe = BuildDirectory() + L"velmora.exe";
    MemorySource source(ReadFileBytes(exe));
    ZipReader reader(source);
    MemorySink sink;
    reader.Extract("Velmora.wav", sink);
    const std::vector<uint8_t>& wav = sink.bytes();
    return std::vector<uint8_t>(wav.begin() + 56, wav.begin() + 56 + 29943);  // the data chunk
}

class AlarmTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clockFile_ = UnixPathFromEnvironment(L"FAKETIME_TIMESTAMP_FILE");
        captures_ = UnixPathFromEnvironment(L"VELMORA_CAPTURES");
        ASSERT_FALSE(clockFile_.empty()) << "run as the e2e_alarm test, with libfaketime";
        for (const std::wstring& file : FilesIn(captures_))
            DeleteFileW(file.c_str());
        DeleteUserKey(kStoreKey);
        WriteStoredText(kSectionKey, L"bud", L"07:30");
    }
    void TearDown() override {
        clock_.reset();
        DeleteUserKey(kStoreKey);
    }

    // Sets the clock of every process started with the test, then starts the clock program.
    void StartAt(const char* time) {
        SetTime(time);
        clock_ = std::make_unique<VelmoraProcess>(temp_.path());
        face_ = clock_->WaitForFace().main;
        ASSERT_TRUE(face_);
        home_ = Place();
    }
    void SetTime(const char* time) {
        WriteText(clockFile_, std::string("@2026-01-01 ") + time + "\n");
    }

    POINT Place() const {
        RECT bounds;
        GetWindowRect(face_, &bounds);
        return {bounds.left, bounds.top};
    }

    // The places the face takes within the time, polled.
    std::set<std::pair<LONG, LONG>> WatchPlaces(DWORD ms) const {
        std::set<std::pair<LONG, LONG>> places;
        const ULONGLONG end = GetTickCount64() + ms;
        while (GetTickCount64() < end) {
            const POINT p = Place();
            places.insert({p.x, p.y});
            Sleep(5);
        }
        return places;
    }

    // The sounds played so far, each the samples that reached the sound device.
    std::vector<std::vector<uint8_t>> Played(DWORD waitMs) const {
        Sleep(waitMs);
        std::vector<std::vector<uint8_t>> sounds;
        for (const std::wstring& file : FilesIn(captures_)) {
            const std::vector<uint8_t> bytes = ReadFileBytes(file);
            if (bytes.size() > 44) sounds.emplace_back(bytes.begin() + 44, bytes.end());
        }
        return sounds;
    }

    std::wstring clockFile_, captures_;
    ScratchFolder temp_{L"alarm"};
    std::unique_ptr<VelmoraProcess> clock_;
    HWND face_ = nullptr;
    POINT home_{};
};

TEST_F(AlarmTest, InTheAlarmMinuteTheChimePlaysOnceAndTheFaceShakesAndComesBack) {
    StartAt("07:29:58");
    const auto places = WatchPlaces(6000);
    EXPECT_TRUE(places.count({home_.x - 10, home_.y})) << "no jump to the left";
    EXPECT_TRUE(places.count({home_.x + 10, home_.y})) << "no jump to the right";
    EXPECT_TRUE(places.count({home_.x, home_.y + 10})) << "no jump down";
    EXPECT_TRUE(places.count({home_.x, home_.y - 10})) << "no jump up";
    EXPECT_EQ(places.size(), 5u);  // home and the four jumps, nothing else
    const POINT end = Place();
    EXPECT_EQ(end.x, home_.x);
    EXPECT_EQ(end.y, home_.y);

    const auto sounds = Played(500);
    ASSERT_EQ(sounds.size(), 1u);
    const std::vector<uint8_t> chime = ChimeSamples();
    ASSERT_GE(sounds[0].size(), chime.size());
    EXPECT_TRUE(std::equal(chime.begin(), chime.end(), sounds[0].begin()));
}

TEST_F(AlarmTest, ATwelveHourTimeFormatFiresToo) {
    const std::wstring international = L"Control Panel\\International";
    wchar_t saved[64] = L"";
    DWORD size = sizeof saved;
    const bool had = RegGetValueW(HKEY_CURRENT_USER, international.c_str(), L"sTimeFormat",
                                  RRF_RT_REG_SZ, nullptr, saved, &size) == ERROR_SUCCESS;
    WriteStoredText(international, L"sTimeFormat", L"h:mm:ss tt");
    StartAt("07:29:59");
    const auto places = WatchPlaces(3000);
    if (had) {
        WriteStoredText(international, L"sTimeFormat", saved);
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, international.c_str(), L"sTimeFormat");
    }
    EXPECT_GT(places.size(), 1u) << "no shake";
    EXPECT_EQ(Played(500).size(), 1u);
}

TEST_F(AlarmTest, WithoutEffectsOnlyTheSoundPlays) {
    WriteStoredText(kSectionKey, L"eff", L"0");
    StartAt("07:29:59");
    EXPECT_EQ(WatchPlaces(2500).size(), 1u);
    EXPECT_EQ(Played(500).size(), 1u);
}

TEST_F(AlarmTest, TheNoSoundEntryOnlyShakes) {
    WriteStoredText(kSectionKey, L"sound", L"(без звукового сигнала)");
    StartAt("07:29:59");
    EXPECT_GT(WatchPlaces(2500).size(), 1u);
    EXPECT_EQ(Played(500).size(), 0u);
}

TEST_F(AlarmTest, AClockThatSkipsTheFirstSecondStillFiresOnce) {
    StartAt("07:29:58");
    Sleep(1200);          // into 07:29:59
    SetTime("07:30:01");  // past 07:30:00 without a tick in it
    EXPECT_GT(WatchPlaces(2500).size(), 1u);
    EXPECT_EQ(Played(500).size(), 1u);
}

TEST_F(AlarmTest, AClickAfterTheFirstCycleStopsTheShakeAtHome) {
    StartAt("07:29:59");
    // Wait for the shake, then for its second cycle (each cycle is 9 ticks of about 30 ms).
    ASSERT_TRUE(WaitUntil([&] { return Place().x != home_.x || Place().y != home_.y; }, 3000));
    Sleep(600);
    const POINT grip{Place().x + 126, Place().y + 215};
    MoveMouseTo(grip.x, grip.y);
    PressButton(MOUSEEVENTF_LEFTDOWN);
    ReleaseButton(MOUSEEVENTF_LEFTUP);
    Sleep(100);
    const auto places = WatchPlaces(800);
    ASSERT_EQ(places.size(), 1u) << "still shaking";
    EXPECT_EQ(places.begin()->first, home_.x);
    EXPECT_EQ(places.begin()->second, home_.y);
}

}  // namespace
}  // namespace velmora::testing
