// The system calls the Linux port layer makes, behind an interface so that the
// layer can be exercised without a parallel port and without root.
#pragma once

#include "port/port_output.h"

#include <cstdint>
#include <string>

namespace pp {

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
    int grantPortAccess(std::uint16_t port) override;
    void outputByte(std::uint16_t port, PortByte value) override;
};

} // namespace pp
