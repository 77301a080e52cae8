#include "port/demo_port.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

namespace pp {
namespace {

TEST(DemoLine, ShowsTheByteInHexBinaryAndItsHighLines) {
    struct Line {
        PortByte value;
        const char* expected;
    };
    const Line lines[] = {
        {0x77, "0x378 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6"},
        {0x00, "0x378 <- 0x00  0b00000000  líneas altas: ninguna"},
        {0xFF, "0x378 <- 0xFF  0b11111111  líneas altas: D0 D1 D2 D3 D4 D5 D6 D7"},
        {0x80, "0x378 <- 0x80  0b10000000  líneas altas: D7"},
        {0x06, "0x378 <- 0x06  0b00000110  líneas altas: D1 D2"},
        {0xC8, "0x378 <- 0xC8  0b11001000  líneas altas: D3 D6 D7"},
    };
    for (const Line& line : lines) {
        EXPECT_EQ(DemoLine(line.value), line.expected);
    }
}

TEST(DemoLine, StartsWithTheChosenPort) {
    const std::pair<const char*, const char*> lines[] = {
        {"0xD010", "0xD010 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6"},
        {"0x278", "0x278 <- 0x00  0b00000000  líneas altas: ninguna"},
        {"/dev/parport1", "/dev/parport1 <- 0x06  0b00000110  líneas altas: D1 D2"},
    };
    const PortByte values[] = {0x77, 0x00, 0x06};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(DemoLine(values[i], lines[i].first), lines[i].second);
    }
    std::ostringstream out;
    DemoPort port(out, "0xD010");
    port.PortOut(0x7F);
    EXPECT_EQ(out.str(), DemoLine(0x7F, "0xD010") + "\n");
}

TEST(DemoLine, AlwaysStartsWithTheAddressAndTwoUpperCaseDigits) {
    static constexpr char hex[] = "0123456789ABCDEF";
    for (unsigned value = 0; value < 256; ++value) {
        const std::string expected = std::string("0x378 <- 0x") + hex[value >> 4] + hex[value & 15];
        EXPECT_EQ(DemoLine(static_cast<PortByte>(value)).substr(0, expected.size()), expected);
    }
}

// Counts the flushes of the stream that writes into it.
class FlushCounter final : public std::stringbuf {
public:
    int flushes = 0;

protected:
    int sync() override {
        ++flushes;
        return std::stringbuf::sync();
    }
};

TEST(DemoPort, PrintsAndFlushesOneLinePerWrite) {
    FlushCounter buffer;
    std::ostream out(&buffer);
    DemoPort port(out);
    port.PortOut(0x77);
    EXPECT_EQ(buffer.flushes, 1);
    port.PortOut(0x77);
    EXPECT_EQ(buffer.flushes, 2);
    EXPECT_EQ(buffer.str(), DemoLine(0x77) + "\n" + DemoLine(0x77) + "\n");
}

} // namespace
} // namespace pp
