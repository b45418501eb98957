// The settings store against the real registry of the test's Wine prefix, under a key of its own.
#include "registry_settings.h"

#include <gtest/gtest.h>

#include "registry_access.h"

namespace velmora::win {
namespace {

using testing::ReadStoredValue;
using testing::WriteStoredText;
using testing::WriteStoredValue;

class RegistrySettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::DeleteUserKey(kKey); }
    void TearDown() override { testing::DeleteUserKey(kKey); }

    static constexpr const wchar_t* kKey = L"Software\\VelmoraTest";
    static constexpr const wchar_t* kSection = L"Software\\VelmoraTest\\Velmora";
};

TEST_F(RegistrySettingsTest, WritesEveryKindAsAStringValueWithItsZero) {
    RegistrySettings settings(kKey);
    settings.WriteInteger(L"Velmora", L"top", -10);
    settings.WriteInteger(L"Velmora", L"left", 1030);
    settings.WriteBool(L"Velmora", L"eff", true);
    settings.WriteBool(L"Velmora", L"eff2", false);
    settings.WriteString(L"Velmora", L"bud", L"07:30");
    settings.WriteString(L"Velmora", L"empty", L"");

    const struct {
        const wchar_t* name;
        std::string bytes;
    } expected[] = {
        {L"top", std::string("-10", 4)},   {L"left", std::string("1030", 5)},
        {L"eff", std::string("1", 2)},     {L"eff2", std::string("0", 2)},
        {L"bud", std::string("07:30", 6)}, {L"empty", std::string("", 1)},
    };
    for (const auto& e : expected) {
        const auto stored = ReadStoredValue(kSection, e.name);
        ASSERT_TRUE(stored) << e.name;
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ)) << e.name;
        EXPECT_EQ(stored->bytes, e.bytes) << e.name;
    }
}

TEST_F(RegistrySettingsTest, MissingKeySectionOrValueGivesTheDefaultAndCreatesNoValue) {
    testing::DeleteUserKey(kKey);
    {
        RegistrySettings settings(kKey);
        testing::DeleteUserKey(kKey);  // gone again after opening
        EXPECT_EQ(settings.ReadInteger(L"Velmora", L"top", 150), 150);
    }
    RegistrySettings settings(kKey);
    EXPECT_EQ(settings.ReadInteger(L"Velmora", L"top", 150), 150);  // no section
    EXPECT_FALSE(ReadStoredValue(kSection, L"top"));
    WriteStoredText(kSection, L"other", L"1");
    EXPECT_EQ(settings.ReadString(L"Velmora", L"sound", L"Velmora.wav"), L"Velmora.wav");
    EXPECT_TRUE(settings.ReadBool(L"Velmora", L"eff", true));
    EXPECT_FALSE(ReadStoredValue(kSection, L"sound"));
}

TEST_F(RegistrySettingsTest, ReadsTextAsStoredAndIntegersByTheConversionRules) {
    RegistrySettings settings(kKey);
    const struct {
        const wchar_t* text;
        int32_t integer;  // read with the default 150
        bool flag;        // read with the default true
    } cases[] = {
        {L"letters", 150, true}, {L"  40", 40, true}, {L"40 ", 150, true}, {L"$20", 32, true},
        {L"-10", -10, true},     {L"0", 0, false},    {L"2", 2, true},     {L"", 150, true},
    };
    for (const auto& c : cases) {
        WriteStoredText(kSection, L"value", c.text);
        EXPECT_EQ(settings.ReadString(L"Velmora", L"value", L"x"), c.text);
        EXPECT_EQ(settings.ReadInteger(L"Velmora", L"value", 150), c.integer) << c.text;
        EXPECT_EQ(settings.ReadBool(L"Velmora", L"value", true), c.flag) << c.text;
    }
}

TEST_F(RegistrySettingsTest, ExpandableTextIsReadUnexpandedAndEmptyDataAsEmptyText) {
    RegistrySettings settings(kKey);
    const std::wstring text = L"%TEMP%\\07:30";
    WriteStoredValue(kSection, L"bud", REG_EXPAND_SZ,
                     std::string(reinterpret_cast<const char*>(text.c_str()),
                                 (text.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(settings.ReadString(L"Velmora", L"bud", L""), text);

    WriteStoredValue(kSection, L"none", REG_BINARY, "");  // no data at all
    EXPECT_EQ(settings.ReadString(L"Velmora", L"none", L"fallback"), L"");

    const std::wstring cut(L"ab\0cd", 5);  // text up to the first zero
    WriteStoredValue(kSection, L"cut", REG_SZ,
                     std::string(reinterpret_cast<const char*>(cut.c_str()),
                                 (cut.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(settings.ReadString(L"Velmora", L"cut", L""), L"ab");
}

TEST_F(RegistrySettingsTest, AValueOfAnotherTypeIsAnErrorNamingIt) {
    RegistrySettings settings(kKey);
    const DWORD number = 30;
    WriteStoredValue(kSection, L"top", REG_DWORD,
                     std::string(reinterpret_cast<const char*>(&number), sizeof number));
    try {
        settings.ReadInteger(L"Velmora", L"top", 150);
        FAIL() << "no error";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Invalid data type for 'top'");
    }
    EXPECT_THROW(settings.ReadBool(L"Velmora", L"top", true), RegistryError);
    EXPECT_THROW(settings.ReadString(L"Velmora", L"top", L""), RegistryError);
}

TEST_F(RegistrySettingsTest, NonAsciiTextSurvivesTheRoundTrip) {
    RegistrySettings settings(kKey);
    settings.WriteString(L"Velmora", L"sound", L"(без звукового сигнала)");
    EXPECT_EQ(settings.ReadString(L"Velmora", L"sound", L""), L"(без звукового сигнала)");
}

TEST_F(RegistrySettingsTest, AStoreKeyDeletedWhileRunningIsCreatedAgainByTheNextWrite) {
    RegistrySettings settings(kKey);
    settings.WriteInteger(L"Velmora", L"top", 1);
    testing::DeleteUserKey(kKey);
    settings.WriteInteger(L"Velmora", L"top", 2);
    const auto stored = ReadStoredValue(kSection, L"top");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->bytes, std::string("2", 2));
    EXPECT_EQ(settings.ReadInteger(L"Velmora", L"top", 150), 2);
}

TEST_F(RegistrySettingsTest, AStoreKeyMadeAnewByAnotherProgramIsReadAsItIsNow) {
    RegistrySettings settings(kKey);
    testing::DeleteUserKey(kKey);
    WriteStoredText(kSection, L"bud", L"07:30");  // the key and section made again from outside
    EXPECT_EQ(settings.ReadString(L"Velmora", L"bud", L""), L"07:30");
}

TEST_F(RegistrySettingsTest, WritesThatTheRegistryRefusesAreErrorsNamingTheKeyOrValue) {
    RegistrySettings settings(kKey);
    // A section name longer than any key name may be cannot be created.
    const std::wstring longSection(300, L'k');
    try {
        settings.WriteString(longSection, L"top", L"1");
        FAIL() << "no error";
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to create key " + std::string(300, 'k'));
    }
    // Nor can a value whose name is longer than any value name may be.
    const std::wstring longName(20000, L'v');
    try {
        settings.WriteString(L"Velmora", longName, L"1");
        FAIL() << "no error";
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Failed to set data for '" + std::string(20000, 'v') + "'");
    }
}

}  // namespace
}  // namespace velmora::win
