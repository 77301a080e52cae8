// What the user is told, in Spanish, about the machine's parallel ports: why
// the chosen port cannot be reached, each message naming the cause and what
// to do about it, and the list printed by --listar.
//
// `port` is the chosen port as PortName gives it: "0x378 (888)" or a node.
#pragma once

#include "port/parport_lookup.h"
#include "port/system_calls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pp {

// The kernel knows no port at `address`, and the program may not write to it
// directly: it is not a legacy address, the PC driver is loaded and found
// nothing there, or direct access needs root. Lists the ports the kernel does
// know, `ports`, with the command that uses each, or says how to load the
// drivers where it knows none.
std::string NoPortMessage(std::uint16_t address, bool pcDriverLoaded,
                          const std::vector<Parport>& ports);

// The kernel knows the port as `parport` but its device node `node` does not
// exist (the ppdev module is not loaded), and direct access is not allowed.
std::string NoDeviceNodeMessage(const std::string& port, const std::string& parport,
                                const std::string& node);

// The node the user named has no port behind it any more.
std::string NoDeviceMessage(const std::string& node);

// The device node exists but the user may not open it (not in group lp).
std::string PermissionDeniedMessage(const std::string& port, const std::string& node);

// Opening the device node failed for another reason, `error` being errno.
std::string OpenFailedMessage(const std::string& port, const std::string& node, int error);

// The device node opened but the port could not be claimed through it.
std::string ClaimFailedMessage(const std::string& port, const std::string& node, int error);

// What --listar prints: one line per port, with its name, address, node and
// whether this user can use it, asked of `system` without opening anything.
std::string PortListing(const std::vector<Parport>& ports, SystemCalls& system);

} // namespace pp
