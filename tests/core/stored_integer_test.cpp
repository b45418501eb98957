#include "text/stored_integer.h"

#include <gtest/gtest.h>

#include <climits>

namespace velmora {
namespace {

struct ParseCase {
    const char* text;
    int32_t expected;  // with the fallback 150
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << "'" << c.text << "'";
}

class ParseStoredIntegerTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseStoredIntegerTest, ReadsTheTextOrFallsBack) {
    EXPECT_EQ(ParseStoredInteger(GetParam().text, 150), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, ParseStoredIntegerTest,
    testing::Values(ParseCase{"40", 40}, ParseCase{"  40", 40}, ParseCase{"  -7", -7},
                    ParseCase{"+7", 7}, ParseCase{"007", 7}, ParseCase{"-10", -10},
                    ParseCase{"0", 0}, ParseCase{"2147483647", INT_MAX},
                    ParseCase{"-2147483648", INT_MIN}, ParseCase{"2147483648", 150},
                    ParseCase{"-2147483649", 150}, ParseCase{"99999999999", 150}));

INSTANTIATE_TEST_SUITE_P(Hexadecimal, ParseStoredIntegerTest,
                         testing::Values(ParseCase{"$20", 32}, ParseCase{"0x20", 32},
                                         ParseCase{"0X20", 32}, ParseCase{"x1f", 31},
                                         ParseCase{"X1F", 31}, ParseCase{"$FFFFFFFF", -1},
                                         ParseCase{"$80000000", INT_MIN}, ParseCase{"-$10", -16},
                                         ParseCase{"$100000000", 150}, ParseCase{"$", 150},
                                         ParseCase{"0x", 150}, ParseCase{"$1G", 150}));

INSTANTIATE_TEST_SUITE_P(Rejected, ParseStoredIntegerTest,
                         testing::Values(ParseCase{"", 150}, ParseCase{"   ", 150},
                                         ParseCase{"+", 150}, ParseCase{"-", 150},
                                         ParseCase{"7 ", 150}, ParseCase{"40 ", 150},
                                         ParseCase{"abc", 150}, ParseCase{"1.5", 150},
                                         ParseCase{"--1", 150}, ParseCase{"\t7", 150},
                                         ParseCase{"1e3", 150}));

TEST(FormatStoredIntegerTest, WritesPlainDecimalText) {
    EXPECT_EQ(FormatStoredInteger(0), "0");
    EXPECT_EQ(FormatStoredInteger(150), "150");
    EXPECT_EQ(FormatStoredInteger(-10), "-10");
    EXPECT_EQ(FormatStoredInteger(INT_MIN), "-2147483648");
}

TEST(StoredIntegerTest, EveryWrittenNumberReadsBack) {
    for (int32_t value : {INT_MIN, -250, -1, 0, 1, 32, 1030, INT_MAX}) {
        EXPECT_EQ(ParseStoredInteger(FormatStoredInteger(value), 7), value);
    }
}

}  // namespace
}  // namespace velmora
