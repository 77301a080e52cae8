// What the user is told, in Spanish, when the parallel port cannot be reached.
// Each message names the cause and what to do about it.
#pragma once

#include <string>

namespace pp {

// No parallel port at 0x378 is known to the kernel, and direct access to the
// I/O port is not allowed (it needs root).
std::string NoPortMessage();

// The kernel knows the port as `parport` but its device node `node` does not
// exist (the ppdev module is not loaded), and direct access is not allowed.
std::string NoDeviceNodeMessage(const std::string& parport, const std::string& node);

// The device node exists but the user may not open it (not in group lp).
std::string PermissionDeniedMessage(const std::string& node);

// Opening the device node failed for another reason, `error` being errno.
std::string OpenFailedMessage(const std::string& node, int error);

// The device node opened but the port could not be claimed through it.
std::string ClaimFailedMessage(const std::string& node, int error);

} // namespace pp
