#include "port/linux_port.h"

#include "port/port_messages.h"

#include <cerrno>
#include <utility>

namespace pp {

namespace {

// The node is missing, or left without its ppdev driver or port.
bool noDevice(int error) {
    return error == ENOENT || error == ENXIO || error == ENODEV;
}

bool permissionDenied(int error) {
    return error == EACCES || error == EPERM;
}

} // namespace

LinuxPort::LinuxPort(SystemCalls& system, ParportPaths paths, PortChoice choice)
    : system_(system), paths_(std::move(paths)), choice_(std::move(choice)) {}

LinuxPort::~LinuxPort() {
    if (fd_ >= 0) {
        system_.closeDevice(fd_);
    }
}

void LinuxPort::PortOut(PortByte value) {
    if (access_ == Access::None) {
        acquire();
    }
    if (access_ == Access::Driver) {
        writeThroughDriver(value);
    } else {
        system_.outputByte(choice_.address, value);
    }
}

void LinuxPort::acquire() {
    if (choice_.device.empty()) {
        acquireAddress();
    } else {
        acquireDevice();
    }
}

bool LinuxPort::openNode(const std::string& port, const std::string& node) {
    const int fd = system_.openDevice(node);
    if (fd >= 0) {
        fd_ = fd;
        node_ = node;
        access_ = Access::Driver;
        return true;
    }
    const int error = -fd;
    if (permissionDenied(error)) {
        throw PortUnavailable(PermissionDeniedMessage(port, node));
    }
    if (!noDevice(error)) {
        throw PortUnavailable(OpenFailedMessage(port, node, error));
    }
    return false;
}

// The user named the node: it is that or nothing, never direct access.
void LinuxPort::acquireDevice() {
    if (!openNode(choice_.device, choice_.device)) {
        throw PortUnavailable(NoDeviceMessage(choice_.device));
    }
}

void LinuxPort::acquireAddress() {
    const std::string port = PortName(choice_);
    const auto ports = ListParports(paths_);
    const auto parport = FindParport(ports, choice_.address);
    if (parport && openNode(port, parport->node)) {
        return;
    }
    const bool pcDriverLoaded = PcDriverLoaded(paths_);
    if (MayWriteDirectly(choice_.address, parport.has_value(), pcDriverLoaded) &&
        system_.grantPortAccess(choice_.address) == 0) {
        access_ = Access::Direct;
        return;
    }
    if (parport) {
        throw PortUnavailable(NoDeviceNodeMessage(port, parport->name, parport->node));
    }
    throw PortUnavailable(NoPortMessage(choice_.address, pcDriverLoaded, ports));
}

void LinuxPort::writeThroughDriver(PortByte value) {
    // Failures after the first successful claim go unnoticed, like a byte
    // lost on the cable: the caller has nothing to do about them.
    const bool locked = system_.lockExclusive(fd_) == 0;
    const int claimed = system_.claim(fd_);
    if (claimed == 0) {
        claimedOnce_ = true;
        system_.writeData(fd_, value);
        system_.release(fd_);
    }
    if (locked) {
        system_.unlock(fd_);
    }
    if (claimed != 0 && !claimedOnce_) {
        failDriverClaim(-claimed);
    }
}

void LinuxPort::failDriverClaim(int error) {
    system_.closeDevice(fd_);
    fd_ = -1;
    access_ = Access::None;
    throw PortUnavailable(ClaimFailedMessage(PortName(choice_), node_, error));
}

} // namespace pp
