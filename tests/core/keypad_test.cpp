#include "core/keypad.h"

#include "tests/support/recording_port.h"

#include <gtest/gtest.h>

#include <string>

namespace pp {
namespace {

// The byte that lights exactly the named segments ("a".."g", "p" for the
// decimal point), bit 0 being a.
PortByte Lit(const std::string& segments) {
    PortByte code = 0;
    for (char segment : segments) {
        const int bit = segment == 'p' ? 7 : segment - 'a';
        code = static_cast<PortByte>(code | (1U << bit));
    }
    return code;
}

struct Glyph {
    std::size_t digit;
    const char* segments;
};

// How each digit is drawn on the display.
constexpr Glyph Glyphs[] = {
    {0, "abcdef"}, {1, "bc"},     {2, "abdeg"},   {3, "abcdg"},  {4, "bcfg"},    {5, "acdfg"},
    {6, "acdefg"}, {7, "abc"},    {8, "abcdefg"}, {9, "abcdfg"}, {10, "abcefg"}, {11, "cdefg"},
    {12, "adef"},  {13, "bcdeg"}, {14, "adefg"},  {15, "aefg"},
};

TEST(SegmentCode, LightsExactlyTheSegmentsOfEachGlyph) {
    for (const Glyph& glyph : Glyphs) {
        EXPECT_EQ(SegmentCode.at(glyph.digit), Lit(glyph.segments))
            << "digit " << glyph.digit << " should light " << glyph.segments;
    }
}

TEST(SegmentCode, NeverLightsTheDecimalPoint) {
    for (PortByte code : SegmentCode) {
        EXPECT_EQ(code & Lit("p"), 0) << std::hex << int(code);
    }
}

TEST(SegmentCode, EveryDigitLooksDifferent) {
    for (std::size_t i = 0; i < SegmentCode.size(); ++i) {
        for (std::size_t j = i + 1; j < SegmentCode.size(); ++j) {
            EXPECT_NE(SegmentCode[i], SegmentCode[j]) << i << " and " << j;
        }
    }
}

TEST(SegmentCode, FollowsTheGlyphRules) {
    EXPECT_EQ(SegmentCode[6] & Lit("a"), Lit("a")) << "6 has its top bar";
    EXPECT_EQ(SegmentCode[9] & Lit("d"), Lit("d")) << "9 has its bottom bar";
    EXPECT_EQ(SegmentCode[7], Lit("abc")) << "7 is drawn without f";
    EXPECT_EQ(SegmentCode[11] ^ SegmentCode[6], Lit("a")) << "b and 6 differ only in a";
    // b and d are lower-case: without the top bar, so they are not 8 and 0.
    EXPECT_EQ(SegmentCode[11] & Lit("ab"), 0);
    EXPECT_EQ(SegmentCode[13] & Lit("af"), 0);
    for (std::size_t upper : {10, 12, 14, 15}) {
        EXPECT_EQ(SegmentCode[upper] & Lit("af"), Lit("af")) << upper << " is upper-case";
    }
}

TEST(KeypadHandler, WritesTheDigitsCodeOncePerPress) {
    struct Press {
        std::size_t digit;
        PortByte expected;
    };
    const Press presses[] = {{8, 0x7F}, {1, 0x06}, {0, 0x3F}, {10, 0x77}, {15, 0x71}};
    for (const Press& press : presses) {
        testing::RecordingPort port;
        KeypadHandler(press.digit, port);
        EXPECT_EQ(port.writes, std::vector<PortByte>{press.expected}) << "digit " << press.digit;
    }
}

TEST(KeypadHandler, PressingAKeyAgainWritesAgain) {
    testing::RecordingPort port;
    KeypadHandler(10, port);
    KeypadHandler(10, port);
    KeypadHandler(3, port);
    EXPECT_EQ(port.writes, (std::vector<PortByte>{0x77, 0x77, 0x4F}));
}

TEST(KeypadHandler, RefusesADigitBeyondF) {
    testing::RecordingPort port;
    EXPECT_THROW(KeypadHandler(16, port), std::out_of_range);
    EXPECT_TRUE(port.writes.empty());
}

} // namespace
} // namespace pp
