// The port write on Linux.
//
// At the first write the port is acquired, in this order of preference:
//  1. through the kernel's parallel-port driver: the parport whose base
//     address is DataPort, opened as /dev/parportN (ppdev). Works without root
//     for users in group lp.
//  2. only where the kernel knows no such port or it has no device node:
//     direct access to the I/O port (ioperm + outb), which needs root.
// Anything else is fatal: PortUnavailable with a message for the user.
//
// Through ppdev every write is one cycle of flock, PPCLAIM, PPWDATA, PPRELEASE
// and unlock. Several copies of the program may write to the same port, and
// ppdev runs all its ioctls behind one global lock: a PPCLAIM waiting for
// another copy's claim would also block that copy's PPRELEASE and both would
// hang. The exclusive flock keeps a claim from ever having to wait.
#pragma once

#include "port/port_output.h"
#include "port/system_calls.h"

#include <filesystem>
#include <string>

namespace pp {

struct ParportPaths {
    std::filesystem::path procDir = "/proc/sys/dev/parport";
    std::filesystem::path devDir = "/dev";
};

class LinuxPort final : public PortOutput {
public:
    // Touches nothing: the port is looked for at the first write.
    explicit LinuxPort(SystemCalls& system, ParportPaths paths = {});
    ~LinuxPort() override;

    LinuxPort(const LinuxPort&) = delete;
    LinuxPort& operator=(const LinuxPort&) = delete;

    void PortOut(PortByte value) override;

private:
    enum class Access { None, Driver, Direct };

    void acquire();
    void writeThroughDriver(PortByte value);
    [[noreturn]] void failDriverClaim(int error);

    SystemCalls& system_;
    ParportPaths paths_;
    Access access_ = Access::None;
    int fd_ = -1;
    std::string node_;
    bool claimedOnce_ = false;
};

} // namespace pp
