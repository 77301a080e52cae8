#include "port/linux/linux_port.h"

#include "port/linux/linux_messages.h"

#include <cerrno>
#include <optional>
#include <utility>
#include <vector>

namespace pp {

namespace {

// The node is missing, or left without its ppdev driver or port.
bool noDevice(int error) {
    return error == ENOENT || error == ENXIO || error == ENODEV;
}

bool permissionDenied(int error) {
    return error == EACCES || error == EPERM;
}

DirectRefusal refusalOf(int error, SystemCalls& system) {
    if (error == -ENODEV) {
        return DirectRefusal::NoIoPorts;
    }
    if (error == -ENOSYS) {
        return DirectRefusal::NoIoperm;
    }
    // ioperm refuses CAP_SYS_RAWIO only where the kernel is locked down.
    if (error == -EPERM && system.hasRawIo()) {
        return DirectRefusal::LockedDown;
    }
    return DirectRefusal::NeedsRoot;
}

} // namespace

bool MayWriteDirectly(std::uint16_t address, bool registeredThere, bool pcDriverLoaded) {
    return IsLegacyAddress(address) && (registeredThere || !pcDriverLoaded);
}

LinuxPort::LinuxPort(SystemCalls& system, ParportPaths paths, PortChoice choice)
    : system_(system), paths_(std::move(paths)), choice_(std::move(choice)),
      name_(PortName(choice_)) {}

LinuxPort::~LinuxPort() {
    closeNode();
}

void LinuxPort::PortOut(PortByte value) {
    if (access_ == Access::None) {
        acquire();
    }
    if (access_ == Access::Driver) {
        writeThroughDriver(value);
    } else {
        system_.outputByte(std::get<IoAddress>(choice_).value, value);
    }
}

void LinuxPort::acquire() {
    if (const auto* device = std::get_if<DeviceNode>(&choice_)) {
        acquireDevice(device->path);
    } else {
        acquireAddress(std::get<IoAddress>(choice_).value);
    }
}

bool LinuxPort::openNode(const std::string& node) {
    const int fd = system_.openDevice(node);
    if (fd >= 0) {
        fd_ = fd;
        node_ = node;
        access_ = Access::Driver;
        return true;
    }
    const int error = -fd;
    if (permissionDenied(error)) {
        throw PortUnavailable(PermissionDeniedMessage(name_, node, system_.groupAccess(node)));
    }
    if (!noDevice(error)) {
        throw PortUnavailable(OpenFailedMessage(name_, node, error));
    }
    return false;
}

// The user named the node: it is that or nothing, never direct access.
void LinuxPort::acquireDevice(const std::string& node) {
    if (!openNode(node)) {
        throw PortUnavailable(NoDeviceMessage(node));
    }
    if (const auto parport = FindParportByNode(ListParports(paths_), node)) {
        parport_ = parport->name;
    }
}

void LinuxPort::acquireAddress(std::uint16_t address) {
    KnownPorts known{ListParports(paths_), {}, false};
    const auto parport = FindParport(known.ports, address);
    if (parport && openNode(parport->node)) {
        parport_ = parport->name;
        return;
    }
    known.pcDriverLoaded = PcDriverLoaded(paths_);
    DirectRefusal refusal = DirectRefusal::NotTried;
    if (MayWriteDirectly(address, parport.has_value(), known.pcDriverLoaded)) {
        const int granted = system_.grantPortAccess(address);
        if (granted == 0) {
            access_ = Access::Direct;
            return;
        }
        refusal = refusalOf(granted, system_);
    }
    if (parport) {
        throw PortUnavailable(NoDeviceNodeMessage(name_, parport->name, parport->node));
    }
    known.usbPrinters = UsbPrinterNodes(paths_);
    known.kernelDriver = KernelParportDriver(paths_);
    throw PortUnavailable(NoPortMessage(address, known, refusal));
}

void LinuxPort::writeThroughDriver(PortByte value) {
    // Never a write to a port that went away, nor to one that stands in its
    // place now through a device opened before.
    if (fd_ >= 0 && system_.checkNode(fd_, node_) != 0) {
        closeNode();
    }
    if (fd_ < 0) {
        reopen(value);
    }

    const Deadline until = std::chrono::steady_clock::now() + Patience;
    const int locked = system_.lockExclusive(fd_, until);
    if (locked == -ETIMEDOUT) {
        busy(value);
    }
    const int claimed = system_.claim(fd_, until);
    if (claimed != 0) {
        if (locked == 0) {
            system_.unlock(fd_);
        }
        // Off the port's wait list, where a failed claim leaves the device.
        closeNode();
        if (claimed == -ETIMEDOUT || claimed == -EINTR) {
            busy(value);
        }
        if (!claimedOnce_) {
            failDriverClaim(-claimed);
        }
        throw PortWriteFailed(WriteFailedMessage(name_, node_, value, -claimed));
    }
    claimedOnce_ = true;
    const int written = system_.writeData(fd_, value);
    const int released = system_.release(fd_);
    if (locked == 0) {
        system_.unlock(fd_);
    }
    if (released != 0) {
        // Closing the device releases the port, which must not stay held.
        closeNode();
    }
    if (written != 0) {
        throw PortWriteFailed(WriteFailedMessage(name_, node_, value, -written));
    }
}

// The chosen port, looked up again: another port may stand at its old node
// now (an adapter pulled out and another plugged in), and it may be back at
// another one.
void LinuxPort::reopen(PortByte value) {
    const std::vector<Parport> ports = ListParports(paths_);
    std::optional<Parport> parport;
    if (const auto* device = std::get_if<DeviceNode>(&choice_)) {
        parport = FindParportByNode(ports, device->path);
        node_ = device->path;
    } else {
        parport = FindParport(ports, std::get<IoAddress>(choice_).value);
        if (!parport) {
            throw PortWriteFailed(PortGoneMessage(name_, node_, value));
        }
        node_ = parport->node;
    }
    parport_ = parport ? parport->name : "";
    const int fd = system_.openDevice(node_);
    if (fd < 0) {
        throw PortWriteFailed(noDevice(-fd) ? PortGoneMessage(name_, node_, value)
                                            : WriteFailedMessage(name_, node_, value, -fd));
    }
    fd_ = fd;
}

void LinuxPort::closeNode() {
    if (fd_ >= 0) {
        system_.closeDevice(fd_);
        fd_ = -1;
    }
}

void LinuxPort::failDriverClaim(int error) {
    closeNode();
    access_ = Access::None;
    throw PortUnavailable(ClaimFailedMessage(name_, node_, error));
}

void LinuxPort::busy(PortByte value) {
    const std::string holder = parport_.empty() ? "" : PortHolder(paths_, parport_);
    throw PortWriteFailed(PortBusyMessage(name_, value, holder));
}

} // namespace pp
