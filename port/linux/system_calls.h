// The system calls the Linux port layer makes, behind an interface so that the
// layer can be exercised without a parallel port and without root.
#pragma once

#include "port/port_output.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace pp {

// What a path names, as stat(2) sees it, links followed.
enum class NodeKind : std::uint8_t {
    Missing,              // nothing there, or it cannot be looked at
    NotCharacterDevice,   // a file, a directory, a block device...
    OtherCharacterDevice, // a character device of another driver
    ParallelPort,         // a ppdev node (character major 99)
    UsbPrinter,           // a USB printer adapter, /dev/usb/lpN (usblp, major 180)
};

// What the group database and this session say of the group that owns a
// device node (lp on Debian).
struct GroupAccess {
    std::string group;      // its name, or its number where it has none
    bool listed = false;    // the user is a member in the group database
    bool inSession = false; // this process has the group
};

// The moment a wait for the port gives up.
using Deadline = std::chrono::steady_clock::time_point;

// Every call returns 0 (or a descriptor) on success and -errno on failure.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int openDevice(const std::string& path) = 0; // open(O_RDWR | O_CLOEXEC)
    virtual int closeDevice(int fd) = 0;
    // flock(LOCK_EX) and ioctl(PPCLAIM), each waiting at most until `until`
    // (and a few milliseconds, whatever the timing) and then failing with
    // -ETIMEDOUT. Once `until` has passed the lock is only tried and the
    // claim not made at all. After a claim that did not succeed the device
    // must be closed: the kernel keeps it queued for the port.
    virtual int lockExclusive(int fd, Deadline until) = 0;
    virtual int unlock(int fd) = 0; // flock(LOCK_UN)
    virtual int claim(int fd, Deadline until) = 0;
    virtual int writeData(int fd, PortByte value) = 0; // ioctl(PPWDATA)
    virtual int release(int fd) = 0;                   // ioctl(PPRELEASE)
    // Whether `path` still names the device node that `fd` was opened from: 0,
    // -ENOENT when it is gone, -ESTALE when another node stands there now.
    virtual int checkNode(int fd, const std::string& path) = 0;

    // Whether this process may open `path` for reading and writing:
    // access(R_OK | W_OK), which opens nothing.
    virtual int checkAccess(const std::string& path) = 0;
    virtual NodeKind nodeKind(const std::string& path) = 0; // stat
    virtual GroupAccess groupAccess(const std::string& path) = 0;

    // Direct access to one I/O port: ioperm(port, 1, 1), then outb. Needs
    // CAP_SYS_RAWIO (root) and a kernel that is not locked down; fails with
    // -ENOSYS where the kernel does not offer ioperm (an x86 kernel built
    // without it), and with -ENODEV where the machine has no I/O ports at
    // all (not an x86 PC).
    virtual int grantPortAccess(std::uint16_t port) = 0;
    virtual void outputByte(std::uint16_t port, PortByte value) = 0;
    // Whether this process has CAP_SYS_RAWIO, which ioperm asks for.
    virtual bool hasRawIo() = 0;

protected:
    SystemCalls() = default;
    SystemCalls(const SystemCalls&) = default;
    SystemCalls& operator=(const SystemCalls&) = default;
};

// The real calls.
class LinuxSystemCalls final : public SystemCalls {
public:
    int openDevice(const std::string& path) override;
    int closeDevice(int fd) override;
    int lockExclusive(int fd, Deadline until) override;
    int unlock(int fd) override;
    int claim(int fd, Deadline until) override;
    int writeData(int fd, PortByte value) override;
    int release(int fd) override;
    int checkNode(int fd, const std::string& path) override;
    int checkAccess(const std::string& path) override;
    NodeKind nodeKind(const std::string& path) override;
    GroupAccess groupAccess(const std::string& path) override;
    int grantPortAccess(std::uint16_t port) override;
    void outputByte(std::uint16_t port, PortByte value) override;
    bool hasRawIo() override;
};

} // namespace pp
