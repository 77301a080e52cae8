// What the messages of every platform say alike, in Spanish: a byte as they
// name it, and the ports the machine has with the command that uses each.
#pragma once

#include "port/port_output.h"

#include <string>
#include <vector>

namespace pp {

// A byte as messages name it: "0x06".
std::string ByteName(PortByte value);

// A port the machine has: how it is described ("parport0 en 0xD010
// (/dev/parport0)", "LPT3 en 0xE050 (...)") and what --puerto takes for it.
struct PortToUse {
    std::string description;
    std::string puerto;
};

// "El sistema tiene este puerto paralelo:" and its lines, then the command
// that uses each: "    puerto-paralelo --puerto 0xD010". `ports` is not empty.
std::string PortsToUse(const std::vector<PortToUse>& ports);

} // namespace pp
