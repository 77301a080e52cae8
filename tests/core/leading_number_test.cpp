#include "core/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace pp {
namespace {

using namespace std::string_literals;

constexpr double Inf = std::numeric_limits<double>::infinity();

struct Reading {
    std::string text;
    double expected;
};

void ExpectReadings(const std::vector<Reading>& readings) {
    for (const Reading& r : readings) {
        const double value = LeadingNumber(r.text);
        // Exact comparison: every expected value is the correctly rounded double.
        EXPECT_EQ(value, r.expected) << "text: \"" << r.text << "\"";
    }
}

TEST(LeadingNumber, ReadsDecimalNumbers) {
    ExpectReadings({
        {"255", 255},     {"0", 0},         {"256", 256},     {"-1", -1},      {"+7", 7},
        {"200", 200},     {"99999", 99999}, {"254.5", 254.5}, {"-0.5", -0.5},  {".5", 0.5},
        {"5.", 5},        {"0012", 12},     {"2.55E2", 255},  {"2.55e2", 255}, {"25500e-2", 255},
        {"2.55E+2", 255}, {"1e", 1},        {"1e+", 1},       {"1e-", 1},      {"1E2x", 100},
        {"-2.5e1", -25},
    });
}

TEST(LeadingNumber, IgnoresBlanksTabsAndLineFeedsEverywhere) {
    ExpectReadings({
        {" 7 ", 7},
        {"2 5 5", 255},
        {"\t2\n5\t5\n", 255},
        {"- 1", -1},
        {"2 . 5", 2.5},
        {"2.5 E 2", 250},
        {"1 e - 2", 0.01},
        {"& H F F", 255},
        {" &\tO 3 7 7", 255},
        {std::string(10000, ' ') + "42" + std::string(10000, '\t'), 42},
        {" ", 0},
    });
}

TEST(LeadingNumber, ReadsHexadecimalAndOctalForms) {
    ExpectReadings({
        {"&HFF", 255},
        {"&hff", 255},
        {"&hFf", 255},
        {"&H100", 256},
        {"&O377", 255},
        {"&o377", 255},
        {"&O400", 256},
        {"&O78", 7},  // 8 is no octal digit
        {"&HFG", 15}, // nor is G hexadecimal
        {"&H", 0},
        {"&O", 0},
        {"&", 0},
        {"&17", 0}, // an ampersand needs its radix letter
        {"&HFFFF", 65535},
        {"&HFFFFFFFF", 4294967295.0},
        {"&H1.5", 1}, // radix numbers have no fraction
        {"-&HFF", 0}, // nor a sign
    });
}

TEST(LeadingNumber, StopsAtTheFirstCharacterThatDoesNotFit) {
    ExpectReadings({
        {"12abc", 12},
        {"abc", 0},
        {"3,5", 3},
        {"$5", 0},
        {"5$", 5},
        {"1.2.3", 1.2},
        {"..5", 0},
        {".", 0},
        {"-", 0},
        {"+", 0},
        {"--5", 0},
        {"+-5", 0},
        {"5-3", 5},
        {"1e2e3", 100},
        {"1ee2", 1},
        {"1d2", 1},
        {"1\r2", 1}, // a carriage return is not ignored
        {"12\0"s
         "34",
         12}, // nor is a NUL
        {"\0"s
         "12",
         0},
        {"１２", 0}, // full-width digits are not ASCII digits
        {"٣", 0},    // nor are Arabic-Indic ones
        {"7\xC2\xA0"
         "1",
         7}, // a no-break space ends the number
        {"\xFF\xFE"
         "12",
         0},
    });
}

TEST(LeadingNumber, ReadsVeryLongTexts) {
    ExpectReadings({
        {std::string(1 << 20, '9'), Inf},
        {"-" + std::string(1 << 20, '9'), -Inf},
        {std::string(1 << 20, '0') + "7", 7},
        {"0." + std::string(1 << 20, '0') + "1", 0},
        {"1" + std::string(1 << 20, ' ') + "2", 12},
        {std::string(1 << 20, 'x'), 0},
        {"&H" + std::string(1 << 20, 'F'), Inf},
        {"&H" + std::string(1 << 20, '0') + "FF", 255},
        {std::string(400, '1') + "e-300", 1.111111111111111111e99},
    });
}

TEST(LeadingNumber, OverflowsToInfinityAndUnderflowsToZero) {
    ExpectReadings({
        {"1e309", Inf},
        {"-1e309", -Inf},
        {"1e999999999999999999999", Inf},
        {"1e-999999999999999999999", 0},
        {"1e-400", 0},
        {"0.0000001e-320", 0},
        {"100000e304", Inf},
        {"100000e303", 1e308},
        {"0.001e312", Inf},
        {"0.001e311", 1e308},
        {"0e99999", 0},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
    });
}

// Decimal texts whose correctly rounded double differs from what naive
// digit-by-digit arithmetic gives; the rounding to a byte depends on it.
TEST(LeadingNumber, RoundsDecimalTextsCorrectly) {
    ExpectReadings({
        {"0.1", 0.1},
        {"255.49999999999999", 255.5}, // nearer to 255.5 than to anything below
        {"255.4999999999999", 255.49999999999989},
        {"254.50000000000001", 254.5},
        {"0.50000000000000001", 0.5},
        {"2.5000000000000001", 2.5},
        {"0.49999999999999999", 0.5},
        {"9007199254740993", 9007199254740992.0}, // 2^53 + 1: halfway, to even
        {"1.00000000000000011102230246251565404236316680908203125", 1.0}, // exact tie
        {"1.00000000000000011102230246251565404236316680908203126", 1.0000000000000002},
        {"25" + std::string(300, '0') + "e-300", 25},
    });
}

} // namespace
} // namespace pp
