#include "port/demo_port.h"

#include <string_view>

namespace pp {

std::string DemoLine(PortByte value, std::string_view port) {
    constexpr std::string_view hex = "0123456789ABCDEF";
    std::string line(port);
    line += " <- 0x";
    line += hex[value >> 4];
    line += hex[value & 0x0F];
    line += "  0b";
    for (int bit = 7; bit >= 0; --bit) {
        line += ((value >> bit) & 1) != 0 ? '1' : '0';
    }
    return line + "  líneas altas: " + HighLines(value);
}

std::string HighLines(PortByte value) {
    std::string lines;
    for (int bit = 0; bit < 8; ++bit) {
        if (((value >> bit) & 1) != 0) {
            lines += lines.empty() ? "D" : " D";
            lines += static_cast<char>('0' + bit);
        }
    }
    return lines.empty() ? "ninguna" : lines;
}

void DemoPort::PortOut(PortByte value) {
    out_.write(DemoLine(value, port_) + '\n');
}

} // namespace pp
