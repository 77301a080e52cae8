// What the user is told on Linux, in Spanish, about the machine's parallel
// ports: why the chosen port cannot be reached or a byte could not be
// written, each message naming the cause and what to do about it, and the
// list printed by --listar.
//
// `port` is the chosen port as PortName gives it: "0x378 (888)" or a node.
#pragma once

#include "port/linux/parport_lookup.h"
#include "port/linux/system_calls.h"
#include "port/port_output.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pp {

// Why the program did not write to an address directly.
enum class DirectRefusal : std::uint8_t {
    NotTried,   // not at a legacy address, or the PC driver found nothing there
    NeedsRoot,  // ioperm refused: no CAP_SYS_RAWIO
    LockedDown, // ioperm refused to root: the kernel is locked down (Secure Boot)
    NoIoPorts,  // no I/O ports on this machine (not an x86 PC)
    NoIoperm,   // an x86 kernel built without direct port access (ioperm)
};

// What the kernel knows around the chosen port, for the messages that say
// what the user could use instead.
struct KnownPorts {
    std::vector<Parport> ports;           // as ListParports gives them
    std::vector<std::string> usbPrinters; // as UsbPrinterNodes gives them
    bool pcDriverLoaded = false;
    KernelDriver kernelDriver = KernelDriver::Present; // as KernelParportDriver says
};

// The kernel knows no port at `address`, and the program may not, or could
// not, write to it directly (`refusal` says why). Lists the ports the kernel
// does know with the command that uses each, or says how to load the drivers
// where it knows none; names the USB printer adapters present, which cannot
// stand in.
std::string NoPortMessage(std::uint16_t address, const KnownPorts& known, DirectRefusal refusal);

// The kernel knows the port as `parport` but its device node `node` does not
// exist (the ppdev module is not loaded), and direct access is not allowed.
std::string NoDeviceNodeMessage(const std::string& port, const std::string& parport,
                                const std::string& node);

// The node the user named has no port behind it any more.
std::string NoDeviceMessage(const std::string& node);

// The device node exists but the user may not open it; `access` tells
// whether joining the group would help, logging in again would, or neither.
std::string PermissionDeniedMessage(const std::string& port, const std::string& node,
                                    const GroupAccess& access);

// Opening the device node failed for another reason, `error` being errno.
std::string OpenFailedMessage(const std::string& port, const std::string& node, int error);

// The device node opened but the port could not be claimed through it.
std::string ClaimFailedMessage(const std::string& port, const std::string& node, int error);

// Another program held the port for longer than the program waits: `value`
// was not written. `holder` is the kernel's name for what holds it
// (PortHolder), or empty.
std::string PortBusyMessage(const std::string& port, PortByte value, const std::string& holder);

// The port went away while the program ran (its node `node` is gone): `value`
// was not written.
std::string PortGoneMessage(const std::string& port, const std::string& node, PortByte value);

// Writing `value` through `node` failed with errno `error`.
std::string WriteFailedMessage(const std::string& port, const std::string& node, PortByte value,
                               int error);

// What the USB printer adapter at `node` is, and why it cannot drive the
// display.
std::string UsbPrinterExplanation(const std::string& node);

// What --listar prints: one line per port, with its name, address, node and
// whether this user can use it, asked of `system` without opening anything,
// then the USB printer adapters, which cannot be used.
std::string PortListing(const KnownPorts& known, SystemCalls& system);

} // namespace pp
