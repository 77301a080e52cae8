// The port write on Linux.
//
// The port is the one at DataPort (0x378) unless the user chose another, by
// its address or its ppdev device node (PortChoice). At the first write it is
// acquired, in this order of preference:
//  1. through the kernel's parallel-port driver: the node the user named, or
//     the parport whose base address is the chosen one, opened as
//     /dev/parportN (ppdev). Works without root for users in group lp.
//  2. only for an address, and only where the kernel offers no port or no
//     device node there: direct access to the I/O port (ioperm + outb),
//     which needs root, and which MayWriteDirectly allows only at a legacy
//     parallel-port address where a port may be.
// Anything else is fatal: PortUnavailable with a message for the user.
//
// Through ppdev every write is one cycle of flock, PPCLAIM, PPWDATA, PPRELEASE
// and unlock. Several copies of the program may write to the same port, and
// ppdev runs all its ioctls behind one global lock: a PPCLAIM waiting for
// another copy's claim would also block that copy's PPRELEASE and both would
// hang. The exclusive flock keeps a claim from ever having to wait.
#pragma once

#include "port/parport_lookup.h"
#include "port/port_choice.h"
#include "port/port_output.h"
#include "port/system_calls.h"

#include <string>

namespace pp {

class LinuxPort final : public PortOutput {
public:
    // Touches nothing: the port is looked for at the first write.
    explicit LinuxPort(SystemCalls& system, ParportPaths paths = {}, PortChoice choice = {});
    ~LinuxPort() override;

    LinuxPort(const LinuxPort&) = delete;
    LinuxPort& operator=(const LinuxPort&) = delete;

    void PortOut(PortByte value) override;

private:
    enum class Access { None, Driver, Direct };

    void acquire();
    void acquireDevice();
    void acquireAddress();
    // Opens `node` for the driver. Returns false where the node is missing or
    // left without its port; any other failure is fatal, naming `port`.
    bool openNode(const std::string& port, const std::string& node);
    void writeThroughDriver(PortByte value);
    [[noreturn]] void failDriverClaim(int error);

    SystemCalls& system_;
    ParportPaths paths_;
    PortChoice choice_;
    Access access_ = Access::None;
    int fd_ = -1;
    std::string node_;
    bool claimedOnce_ = false;
};

} // namespace pp
