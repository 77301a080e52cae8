#include "port/port_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace pp {
namespace {

struct ReadCase {
    const char* text;
    std::uint16_t address; // 0: not an address
    const char* error;     // part of the message, nullptr when P is valid
};

TEST(ReadPortAddress, ReadsAnAddressInHexOrDecimalAndNothingElse) {
    const ReadCase cases[] = {
        {"0xD010", 0xD010, nullptr},
        {"0xd010", 0xD010, nullptr},
        {"0XD010", 0xD010, nullptr},
        {"53264", 0xD010, nullptr},
        {"888", 0x378, nullptr},
        {"0x378", 0x378, nullptr},
        {"0x278", 0x278, nullptr},
        {"0x0001", 1, nullptr},
        {"1", 1, nullptr},
        {"0xFFFF", 0xFFFF, nullptr},
        {"65535", 0xFFFF, nullptr},
        {"0x10000", 0, "«0x10000» está fuera de las direcciones de E/S"},
        {"65536", 0, "«65536» está fuera"},
        {"99999999999999999999999", 0, "está fuera"},
        {"0xFFFFFFFFFFFFFFFFFFFF", 0, "está fuera"},
        {"0", 0, "«0» está fuera"},
        {"0x0", 0, "«0x0» está fuera"},
        {"-1", 0, "«-1» no es un puerto"},
        {"abc", 0, "«abc» no es un puerto: escriba una dirección."},
        {"0x", 0, "«0x» no es un puerto"},
        {"", 0, "«» no es un puerto"},
        {"+888", 0, "no es un puerto"},
        {" 888", 0, "no es un puerto"},
        {"888 ", 0, "no es un puerto"},
        {"0xG1", 0, "no es un puerto"},
        {"0x-1", 0, "no es un puerto"},
        {"1e3", 0, "no es un puerto"},
        {"378h", 0, "no es un puerto"},
        {"parport0", 0, "no es un puerto"},
    };
    for (const ReadCase& c : cases) {
        const auto read = ReadPortAddress(c.text, "escriba una dirección");
        if (c.error == nullptr) {
            ASSERT_TRUE(std::holds_alternative<PortChoice>(read)) << c.text;
            EXPECT_EQ(std::get<IoAddress>(std::get<PortChoice>(read)), IoAddress{c.address})
                << c.text;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.text;
            const auto& error = std::get<std::string>(read);
            EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
        }
    }
}

TEST(PortChoice, IsNamedByItsAddressOrItsNode) {
    const struct {
        PortChoice choice;
        const char* label;
        const char* name;
    } cases[] = {
        {{}, "0x378", "0x378 (888)"},
        {IoAddress{0x278}, "0x278", "0x278 (632)"},
        {IoAddress{0xD010}, "0xD010", "0xD010 (53264)"},
        {IoAddress{0x70}, "0x70", "0x70 (112)"},
        {IoAddress{1}, "0x1", "0x1 (1)"},
        {IoAddress{0xFFFF}, "0xFFFF", "0xFFFF (65535)"},
        {DeviceNode{"/dev/parport1"}, "/dev/parport1", "/dev/parport1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortLabel(c.choice), c.label);
        EXPECT_EQ(PortName(c.choice), c.name);
    }
}

} // namespace
} // namespace pp
