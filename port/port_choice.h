// Which parallel port the program writes to. Without --puerto it is the port
// at DataPort (0x378); with it, the user names a port by the I/O address of
// its data register or, on Linux, by its device node.
#pragma once

#include "port/port_output.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace pp {

// A port named by the I/O address of its data register.
struct IoAddress {
    std::uint16_t value = DataPort;

    bool operator==(const IoAddress&) const = default;
};

// A port named by its device node, such as /dev/parport1.
struct DeviceNode {
    std::string path;

    bool operator==(const DeviceNode&) const = default;
};

// The port the program writes to: an address or a device, 0x378 by default.
using PortChoice = std::variant<IoAddress, DeviceNode>;

// An I/O address as the program prints it: "0x378", "0xD010".
std::string HexAddress(unsigned long address);

// The port in short, as the demo prints it: "0x378", "0xD010" or the node.
std::string PortLabel(const PortChoice& choice);

// The port as messages name it: "0x378 (888)" or the node.
std::string PortName(const PortChoice& choice);

// The three addresses where PCs have always had their parallel ports.
bool IsLegacyAddress(std::uint16_t address);

// Reads an address as --puerto takes it: hexadecimal ("0xD010", "0xd010") or
// decimal ("53264"), 1 to 0xFFFF. Returns the port at that address, or what is
// wrong with `text`, in Spanish; `forms` says what P may be on this platform
// ("escriba la dirección...").
std::variant<PortChoice, std::string> ReadPortAddress(std::string_view text,
                                                      std::string_view forms);

} // namespace pp
