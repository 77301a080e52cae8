#include "port/port_messages.h"

#include <array>
#include <cstdio>

namespace pp {

std::string ByteName(PortByte value) {
    std::array<char, 5> text{};
    std::snprintf(text.data(), text.size(), "0x%02X", static_cast<unsigned>(value));
    return text.data();
}

std::string PortsToUse(const std::vector<PortToUse>& ports) {
    const bool one = ports.size() == 1;
    std::string text = one ? "El sistema tiene este puerto paralelo:\n"
                           : "El sistema tiene estos puertos paralelos:\n";
    for (const PortToUse& port : ports) {
        text += "    " + port.description + "\n";
    }
    text += one ? "Para usarlo, abra el programa así:\n"
                : "Para usar uno, abra el programa con su dirección (o su dispositivo):\n";
    for (const PortToUse& port : ports) {
        text += "    puerto-paralelo --puerto " + port.puerto + "\n";
    }
    text.pop_back();
    return text;
}

} // namespace pp
