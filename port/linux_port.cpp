#include "port/linux_port.h"

#include "port/parport_lookup.h"
#include "port/port_messages.h"

#include <cerrno>
#include <utility>

namespace pp {

LinuxPort::LinuxPort(SystemCalls& system, ParportPaths paths)
    : system_(system), paths_(std::move(paths)) {}

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
        system_.outputByte(DataPort, value);
    }
}

void LinuxPort::acquire() {
    const auto parport = FindParport(paths_.procDir, DataPort);
    if (parport) {
        const std::string node = (paths_.devDir / *parport).string();
        const int fd = system_.openDevice(node);
        if (fd >= 0) {
            fd_ = fd;
            node_ = node;
            access_ = Access::Driver;
            return;
        }
        const int error = -fd;
        if (error == EACCES || error == EPERM) {
            throw PortUnavailable(PermissionDeniedMessage(node));
        }
        // ENOENT: no node; ENXIO/ENODEV: a node left without its ppdev driver.
        if (error != ENOENT && error != ENXIO && error != ENODEV) {
            throw PortUnavailable(OpenFailedMessage(node, error));
        }
        if (system_.grantPortAccess(DataPort) == 0) {
            access_ = Access::Direct;
            return;
        }
        throw PortUnavailable(NoDeviceNodeMessage(*parport, node));
    }
    if (system_.grantPortAccess(DataPort) == 0) {
        access_ = Access::Direct;
        return;
    }
    throw PortUnavailable(NoPortMessage());
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
    throw PortUnavailable(ClaimFailedMessage(node_, error));
}

} // namespace pp
