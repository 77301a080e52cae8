#include "core/sacar_dato.h"

#include "tests/support/fake_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace pp {
namespace {

using namespace std::string_literals;

using testing::FakeWindow;

const std::string EmptyMessage = FakeWindow::MessageEvent(EmptyEntryMessage, 0);
const std::string RangeMessage = FakeWindow::MessageEvent(OutOfRangeMessage, 0);

struct Entry {
    std::string text;
    int written; // -1: nothing
};

void ExpectEntries(const std::vector<Entry>& entries) {
    for (const Entry& entry : entries) {
        testing::RecordingPort port;
        FakeWindow window(entry.text, port);
        const SacarDatoOutcome outcome = SacarDatoHandler(window, port);
        const std::string where = "text \"" + entry.text.substr(0, 40) + "\"";
        if (entry.written >= 0) {
            EXPECT_EQ(outcome, SacarDatoOutcome::Written) << where;
            EXPECT_EQ(port.writes, std::vector<PortByte>{static_cast<PortByte>(entry.written)})
                << where;
            EXPECT_EQ(window.events, (std::vector<std::string>{"read", "set \"\""})) << where;
        } else {
            EXPECT_EQ(outcome, SacarDatoOutcome::OutOfRange) << where;
            EXPECT_TRUE(port.writes.empty()) << where;
            // The text is cleared only after the message was dismissed.
            EXPECT_EQ(window.events, (std::vector<std::string>{"read", RangeMessage, "set \"\""}))
                << where;
        }
        EXPECT_EQ(window.text, "") << where;
    }
}

TEST(SacarDato, EmptyTextIsRefusedAndLeftAlone) {
    testing::RecordingPort port;
    FakeWindow window("", port);
    EXPECT_EQ(SacarDatoHandler(window, port), SacarDatoOutcome::EmptyEntry);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(window.events, (std::vector<std::string>{"read", EmptyMessage}));
}

TEST(SacarDato, WritesEveryEntryThatRoundsInto0To255) {
    ExpectEntries({
        {"255", 0xFF},
        {"0", 0x00},
        {" 7 ", 0x07},
        {"2 5 5", 0xFF},
        {"12abc", 0x0C},
        {"abc", 0x00},
        {" ", 0x00},
        {"&HFF", 0xFF},
        {"&hff", 0xFF},
        {"&O377", 0xFF},
        {"2.55E2", 0xFF},
        {"254.5", 0xFE},
        {"-0.5", 0x00},
        {"3,5", 0x03},
        {"200", 0xC8},
        {"0.5", 0x00},
        {"1.5", 0x02},
        {"2.5", 0x02},
        {"-0.4", 0x00},
        {"255.4", 0xFF},
        {"254.50000000000001", 0xFE},
        {"1e-400", 0x00},
        {"\0"s, 0x00},
        {std::string(1 << 20, ' '), 0x00},
        {std::string(1 << 20, '0') + "128", 0x80},
    });
}

TEST(SacarDato, RefusesEveryOtherValueAndWritesNothing) {
    ExpectEntries({
        {"256", -1},
        {"-1", -1},
        {"&H100", -1},
        {"255.5", -1},
        {"255.49999999999999", -1}, // reads 255.5, rounds to 256
        {"99999", -1},
        {"-0.51", -1},
        {"-32768", -1},
        {"32768", -1},
        {"65536", -1},
        {"65791", -1}, // 255 beyond 16 bits must not wrap round to a byte
        {"4294967296", -1},
        {"&HFFFF", -1},
        {"&HFFFFFFFF", -1},
        {"1e309", -1},
        {"-1e309", -1},
        {std::string(1 << 20, '9'), -1},
    });
}

TEST(TypedByte, RoundsHalvesToEvenAndKeepsTo0To255) {
    constexpr double Inf = std::numeric_limits<double>::infinity();
    const std::pair<double, int> cases[] = {
        {0.5, 0},      {1.5, 2},     {2.5, 2},      {254.5, 254},       {255.5, -1},
        {-0.5, 0},     {-1.5, -1},   {0.49, 0},     {0.51, 1},          {255.0, 255},
        {255.49, 255}, {-0.0, 0},    {256.0, -1},   {Inf, -1},          {-Inf, -1},
        {1e300, -1},   {-1e300, -1}, {65536.0, -1}, {std::nan(""), -1},
    };
    for (const auto& [number, expected] : cases) {
        const auto byte = TypedByte(number);
        if (expected < 0) {
            EXPECT_FALSE(byte.has_value()) << number;
        } else {
            EXPECT_EQ(byte, std::optional<PortByte>(static_cast<PortByte>(expected))) << number;
        }
    }
}

} // namespace
} // namespace pp
