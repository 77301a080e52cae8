#include "port/demo_port.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>

namespace pp {
namespace {

// What the demo prints for a byte written to a port, in hex, in binary and
// as the data lines it drives high.
struct Printed {
    const char* port;
    PortByte value;
    const char* line;
};
constexpr Printed Lines[] = {
    {"0x378", 0x77, "0x378 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6"},
    {"0x378", 0x00, "0x378 <- 0x00  0b00000000  líneas altas: ninguna"},
    {"0x378", 0xFF, "0x378 <- 0xFF  0b11111111  líneas altas: D0 D1 D2 D3 D4 D5 D6 D7"},
    {"0x378", 0x80, "0x378 <- 0x80  0b10000000  líneas altas: D7"},
    {"0x378", 0x01, "0x378 <- 0x01  0b00000001  líneas altas: D0"},
    {"0x378", 0x0A, "0x378 <- 0x0A  0b00001010  líneas altas: D1 D3"},
    {"0x378", 0xAB, "0x378 <- 0xAB  0b10101011  líneas altas: D0 D1 D3 D5 D7"},
    {"0x378", 0x06, "0x378 <- 0x06  0b00000110  líneas altas: D1 D2"},
    {"0x378", 0xC8, "0x378 <- 0xC8  0b11001000  líneas altas: D3 D6 D7"},
    {"0xD010", 0x77, "0xD010 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6"},
    {"0x278", 0x00, "0x278 <- 0x00  0b00000000  líneas altas: ninguna"},
    {"/dev/parport1", 0x06, "/dev/parport1 <- 0x06  0b00000110  líneas altas: D1 D2"},
};

TEST(DemoLine, ShowsThePortTheByteInHexBinaryAndItsHighLines) {
    for (const Printed& printed : Lines) {
        EXPECT_EQ(DemoLine(printed.value, printed.port), printed.line);
        std::ostringstream out;
        StreamWriter text(out);
        DemoPort port(text, printed.port);
        port.PortOut(printed.value);
        EXPECT_EQ(out.str(), std::string(printed.line) + "\n");
    }
    EXPECT_EQ(DemoLine(0x3F), "0x378 <- 0x3F  0b00111111  líneas altas: D0 D1 D2 D3 D4 D5");
}

// Every byte, against the test's own table of hexadecimal digits.
TEST(DemoLine, AlwaysStartsWithTheAddressAndTwoUpperCaseDigits) {
    constexpr char HexDigits[] = "0123456789ABCDEF";
    for (unsigned value = 0; value < 256; ++value) {
        const std::string expected =
            std::string("0x378 <- 0x") + HexDigits[value >> 4] + HexDigits[value & 15] + "  0b";
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
    StreamWriter text(out);
    DemoPort port(text);
    port.PortOut(0x77);
    EXPECT_EQ(buffer.flushes, 1);
    port.PortOut(0x77);
    EXPECT_EQ(buffer.flushes, 2);
    EXPECT_EQ(buffer.str(), "0x378 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6\n"
                            "0x378 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6\n");
}

} // namespace
} // namespace pp
