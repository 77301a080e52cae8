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

// A port named by the I/O address of its data register.
struct IoAddress {
    std::uint16_t value = DataPort;

    bool operator==(const IoAddress&) const = default;
};

// A port named by its ppdev device node, such as /dev/parport1.
struct DeviceNode {
    std::string path;

    bool operator==(const DeviceNode&) const = default;
};

// The port the program writes to: an address or a device, 0x378 by default.
using PortAddressOrDevice = std::variant<IoAddress, DeviceNode>;
using PortChoice = PortAddressOrDevice;

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
