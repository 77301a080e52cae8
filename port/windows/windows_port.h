// The port write on Windows, through InpOut, the free port library whose
// signed driver reaches I/O ports: InpOut x64 (inpoutx64.dll) for the x64
// build, InpOut32 (inpout32.dll) for the 32-bit one.
//
// At the first write, and never before, the address is checked and the
// library loaded: the program writes only to the data register of a parallel
// port that Windows lists (LPT1 at 0x378, a PCI Express card at 0xE050), so
// that a byte never goes where no port answers, an address typed wrong cannot
// reach a clock or a disk controller, and one typed a few off cannot reach the
// port's own control registers (0x37A: the direction of the data lines; 0x77A:
// the port's mode). Only where Windows cannot give its device list at all may
// it write at a legacy parallel-port address (0x378, 0x278, 0x3BC). Then
// InpOut's library is loaded and Out32 and IsInpOutDriverOpen are looked up and
// kept for the run. Anything missing is fatal: PortUnavailable, with a message
// giving the cause Windows tells and what to do. Each write is one Out32 to
// the data register; InpOut reports nothing, so a byte that does not reach the
// port cannot be told.
#pragma once

#include "port/port_output.h"
#include "port/windows/windows_calls.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace pp {

using WindowsPortList = std::optional<std::vector<WindowsParport>>;

// Whether the program may write to `address`: the data register of a
// parallel port in `ports` (DataRegister), or, where the list could not be
// read, a legacy address.
bool MayWriteOnWindows(std::uint16_t address, const WindowsPortList& ports);

// The address of a port's data register: the start of the range that has
// another 0x400 above it (the port's ECP registers, which Windows may list
// first, whatever the sizes Windows gives them); failing that, the start of
// its 8-byte range, or of its first. `port` has ranges.
std::uint16_t DataRegister(const WindowsParport& port);

// The first build of Windows 11 22H2, from which the vulnerable driver
// blocklist is on unless it was turned off.
inline constexpr unsigned long BlocklistByDefaultBuild = 22621;

// Whether Memory Integrity and the vulnerable driver blocklist can keep
// InpOut's driver from loading at all: only on 64-bit Windows 10 and later
// (or where the build is not known); 32-bit Windows, 7 and 8.1 have neither.
bool DriverProtectionsApply(const InpOutState& state);

// Whether Windows enforces the vulnerable driver blocklist: always while
// Memory Integrity or Smart App Control is on, whatever its switch says; else
// as its switch is set, and where it was never set, on from Windows 11 22H2
// and off before.
Protection DriverBlocklist(const InpOutState& state);

class WindowsPort final : public PortOutput {
public:
    // Touches nothing: the port is reached at the first write.
    WindowsPort(WindowsCalls& calls, std::uint16_t address) : calls_(calls), address_(address) {}

    void PortOut(PortByte value) override;

private:
    void acquire();

    WindowsCalls& calls_;
    std::uint16_t address_;
    std::unique_ptr<InpOut> library_;
};

} // namespace pp
