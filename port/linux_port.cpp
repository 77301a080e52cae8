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

int LinuxPort::openNode(const std::string& node) {
    const int fd = system_.openDevice(node);
    if (fd < 0) {
        return fd;
    }
    fd_ = fd;
    node_ = node;
    access_ = Access::Driver;
    return 0;
}

// The user named the node: it is that or nothing, never direct access.
void LinuxPort::acquireDevice() {
    const std::string& node = choice_.device;
    const int error = -openNode(node);
    if (error == 0) {
        return;
    }
    if (permissionDenied(error)) {
        throw PortUnavailable(PermissionDeniedMessage(node, node));
    }
    if (noDevice(error)) {
        throw PortUnavailable(NoDeviceMessage(node));
    }
    throw PortUnavailable(OpenFailedMessage(node, node, error));
}

void LinuxPort::acquireAddress() {
    const std::string port = PortName(choice_);
    const auto parport = FindParport(paths_, choice_.address);
    if (parport) {
        const int error = -openNode(parport->node);
        if (error == 0) {
            return;
        }
        if (permissionDenied(error)) {
            throw PortUnavailable(PermissionDeniedMessage(port, parport->node));
        }
        if (!noDevice(error)) {
            throw PortUnavailable(OpenFailedMessage(port, parport->node, error));
        }
        if (tryDirect(true)) {
            return;
        }
        throw PortUnavailable(NoDeviceNodeMessage(port, parport->name, parport->node));
    }
    if (tryDirect(false)) {
        return;
    }
    throw PortUnavailable(
        NoPortMessage(choice_.address, PcDriverLoaded(paths_), ListParports(paths_)));
}

bool LinuxPort::tryDirect(bool registeredThere) {
    if (!MayWriteDirectly(choice_.address, registeredThere, PcDriverLoaded(paths_))) {
        return false;
    }
    if (system_.grantPortAccess(choice_.address) != 0) {
        return false;
    }
    access_ = Access::Direct;
    return true;
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
