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
// and unlock, and the port is shared with other programs. ppdev runs every
// ioctl of every open device behind one global lock, which a waiting PPCLAIM
// holds: a claim that waited for as long as another program holds the port
// would freeze the window and keep that program from ever releasing it. So
// the lock and the claim wait at most Patience; then the byte is given up
// (PortWriteFailed, the program goes on) and the device is closed, which takes
// it off the port's wait list, so that a late grant of the port can neither
// keep it from others nor write anything. The exclusive flock keeps copies of
// this program from waiting on each other's claims.
//
// Later failures are reported too, byte by byte (PortWriteFailed): a failed
// ioctl, or a port gone away (its node removed, as when a USB or ExpressCard
// adapter is pulled out or its driver unbound). The device is then closed,
// and at the next write the chosen port is looked up again, by its address
// or its node, as at the first write: the byte goes to that port, wherever it
// came back, and never to another one that now stands at its old node.
#pragma once

#include "port/linux/parport_lookup.h"
#include "port/linux/system_calls.h"
#include "port/port_choice.h"
#include "port/port_output.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace pp {

// Whether the program may write to `address` directly (ioperm + outb, as
// root): only at a legacy parallel-port address, and only where the kernel
// registered a port there or its PC driver is not loaded. A loaded driver that
// found nothing at the address means that nothing is there to write to; any
// other address may be a clock, a disk or a keyboard controller.
bool MayWriteDirectly(std::uint16_t address, bool registeredThere, bool pcDriverLoaded);

class LinuxPort final : public PortOutput {
public:
    // How long a write waits for a port that something else holds.
    static constexpr std::chrono::milliseconds Patience{500};

    // Touches nothing: the port is looked for at the first write.
    explicit LinuxPort(SystemCalls& system, ParportPaths paths = {}, PortChoice choice = {});
    ~LinuxPort() override;

    LinuxPort(const LinuxPort&) = delete;
    LinuxPort& operator=(const LinuxPort&) = delete;

    void PortOut(PortByte value) override;

private:
    enum class Access : std::uint8_t { None, Driver, Direct };

    void acquire();
    void acquireDevice(const std::string& node);
    void acquireAddress(std::uint16_t address);
    // Opens `node` for the driver. Returns false where the node is missing or
    // left without its port; any other failure is fatal.
    bool openNode(const std::string& node);
    void writeThroughDriver(PortByte value);
    void reopen(PortByte value);
    void closeNode();
    [[noreturn]] void failDriverClaim(int error);
    [[noreturn]] void busy(PortByte value);

    SystemCalls& system_;
    ParportPaths paths_;
    PortChoice choice_;
    std::string name_; // the port as messages name it
    Access access_ = Access::None;
    int fd_ = -1; // closed while Access::Driver: opened again at the next write
    std::string node_;
    std::string parport_; // the kernel's name for the port, where known
    bool claimedOnce_ = false;
};

} // namespace pp
