#include <gtest/gtest.h>

#include <string>

#include "app/error_report.h"
#include "text/integer.h"
#include "text/strings.h"

namespace velmora {
namespace {

struct ReplaceCase {
    std::string source, pattern, replacement, expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << "'" << c.source << "' '" << c.pattern << "'->'" << c.replacement << "'";
}

class ReplaceAllTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, ReplacesLeftToRightWithoutRescanning) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceAll(c.source, c.pattern, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceAllTest,
    testing::Values(ReplaceCase{"a", "a", "aa", "aa"},
                    ReplaceCase{"banana", "a", "aa", "baanaanaa"},
                    ReplaceCase{"aaa", "aa", "b", "ba"},  // no overlap
                    ReplaceCase{"C:\\temp\\", "temp\\", "", "C:\\"},
                    ReplaceCase{"D:\\temp\\x\\temp\\", "temp\\", "", "D:\\x\\"},
                    ReplaceCase{"C:\\Users\\A\\AppData\\Local\\Temp\\", "temp\\", "",
                                "C:\\Users\\A\\AppData\\Local\\Temp\\"},  // case-sensitive
                    ReplaceCase{"C:\\Windows\\Fonts\\", "Fonts", "Media", "C:\\Windows\\Media\\"},
                    ReplaceCase{"abc", "", "x", "abc"}, ReplaceCase{"", "a", "x", ""}));

TEST(ReplaceAllTest, WorksOnWideText) {
    EXPECT_EQ(ReplaceAll<wchar_t>(L"C:\\Темп\\temp\\", L"temp\\", L""), L"C:\\Темп\\");
}

TEST(TrailingSeparatorTest, AddsABackslashOnlyWhenNeeded) {
    EXPECT_EQ(WithTrailingSeparator<wchar_t>(L"C:\\Temp"), L"C:\\Temp\\");
    EXPECT_EQ(WithTrailingSeparator<wchar_t>(L"C:\\Temp\\"), L"C:\\Temp\\");
    EXPECT_EQ(WithTrailingSeparator<wchar_t>(L"C:/Temp/"), L"C:/Temp/");
    EXPECT_EQ(WithTrailingSeparator<wchar_t>(L""), L"\\");
}

TEST(StrToIntTest, ReadsSignedDecimalsInRange) {
    EXPECT_EQ(StrToInt("07"), 7);
    EXPECT_EQ(StrToInt("99"), 99);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
}

TEST(StrToIntTest, RejectsEverythingElseNamingTheText) {
    for (const char* bad : {"", "-", "+", "1a", "a1", " 1", "1 ", "2147483648", "-2147483649",
                            "99999999999999999999", "0x1F", "$1F", "1.5"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(ErrorReportTextTest, AppendsAFullStopAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorReportText(L"'ab' is not a valid integer value"),
              L"'ab' is not a valid integer value.");
    EXPECT_EQ(ErrorReportText(L"Done."), L"Done.");
    EXPECT_EQ(ErrorReportText(L"Really!"), L"Really!");  // '!' sorts before '.'
    EXPECT_EQ(ErrorReportText(L"Step 1"), L"Step 1.");   // '1' sorts after '.'
    EXPECT_EQ(ErrorReportText(L"Ошибка"), L"Ошибка.");
    EXPECT_EQ(ErrorReportText(L""), L"");
}

TEST(RepeatedFailureFilterTest, ShowsARepeatingFailureOnceUntilSomethingWorks) {
    RepeatedFailureFilter filter;
    EXPECT_TRUE(filter.ShouldReport(L"bad"));
    EXPECT_FALSE(filter.ShouldReport(L"bad"));
    EXPECT_FALSE(filter.ShouldReport(L"bad"));
    EXPECT_TRUE(filter.ShouldReport(L"worse"));
    filter.Succeeded();
    EXPECT_TRUE(filter.ShouldReport(L"worse"));
}

}  // namespace
}  // namespace velmora
