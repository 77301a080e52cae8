// Which parallel port the program writes to, and when it may write to one
// directly. Without --puerto it is the port at DataPort (0x378); with it, the
// user names a port by the I/O address of its data register or by its ppdev
// device node.
#pragma once

#include "port/port_output.h"
#include "port/system_calls.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace pp {

struct PortChoice {
    std::uint16_t address = DataPort; // the port's data register, when no device is named
    std::string device;               // a ppdev node such as /dev/parport1, or empty

    bool operator==(const PortChoice&) const = default;
};

// An I/O address as the program prints it: "0x378", "0xD010".
std::string HexAddress(unsigned long address);

// The port in short, as the demo prints it: "0x378", "0xD010" or the node.
std::string PortLabel(const PortChoice& choice);

// The port as messages name it: "0x378 (888)" or the node.
std::string PortName(const PortChoice& choice);

// The three addresses where PCs have always had their parallel ports.
bool IsLegacyAddress(std::uint16_t address);

// Whether the program may write to `address` directly (ioperm + outb, as
// root): only at a legacy parallel-port address, and only where the kernel
// registered a port there or its PC driver is not loaded. A loaded driver that
// found nothing at the address means that nothing is there to write to; any
// other address may be a clock, a disk or a keyboard controller.
bool MayWriteDirectly(std::uint16_t address, bool registeredThere, bool pcDriverLoaded);

// Reads the P of --puerto P: an address in hexadecimal ("0xD010", "0xd010")
// or decimal ("53264"), 1 to 0xFFFF, or the path of a ppdev device node.
// Returns the choice, or what is wrong with P, in Spanish.
std::variant<PortChoice, std::string> ReadPortChoice(std::string_view text, SystemCalls& system);

} // namespace pp
