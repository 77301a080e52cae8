// The system calls the Linux port layer makes, behind an interface so that the
// layer can be exercised without a parallel port and without root.
#pragma once

#include "port/port_output.h"

#include <cstdint>
#include <string>

namespace pp {

// What a path names, as stat(2) sees it, links followed.
enum class NodeKind {
    Missing,              // nothing there, or it cannot be looked at
    NotCharacterDevice,   // a file, a directory, a block device...
    OtherCharacterDevice, // a character device of another driver
    ParallelPort,         // a ppdev node (character major 99)
};

// Every call returns 0 (or a descriptor) on success and -errno on failure.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    virtual int openDevice(const std::string& path) = 0; // open(O_RDWR | O_CLOEXEC)
    virtual int closeDevice(int fd) = 0;
    virtual int lockExclusive(int fd) = 0;             // flock(LOCK_EX)
    virtual int unlock(int fd) = 0;                    // flock(LOCK_UN)
    virtual int claim(int fd) = 0;                     // ioctl(PPCLAIM)
    virtual int writeData(int fd, PortByte value) = 0; // ioctl(PPWDATA)
    virtual int release(int fd) = 0;                   // ioctl(PPRELEASE)

    // Whether this process may open `path` for reading and writing:
    // access(R_OK | W_OK), which opens nothing.
    virtual int checkAccess(const std::string& path) = 0;
    virtual NodeKind nodeKind(const std::string& path) = 0; // stat

    // Direct access to one I/O port: ioperm(port, 1, 1), then outb. Needs
    // root or CAP_SYS_RAWIO; fails with -ENOSYS where there are no I/O ports.
    virtual int grantPortAccess(std::uint16_t port) = 0;
    virtual void outputByte(std::uint16_t port, PortByte value) = 0;

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
    int lockExclusive(int fd) override;
    int unlock(int fd) override;
    int claim(int fd) override;
    int writeData(int fd, PortByte value) override;
    int release(int fd) override;
    int checkAccess(const std::string& path) override;
    NodeKind nodeKind(const std::string& path) override;
    int grantPortAccess(std::uint16_t port) override;
    void outputByte(std::uint16_t port, PortByte value) override;
};

} // namespace pp
