// The port write on Windows x64, through InpOut x64 (inpoutx64.dll), the free
// port library whose signed driver reaches I/O ports on 64-bit Windows.
//
// At the first write, and never before, the address is checked and the
// library loaded: the program writes only inside an I/O range that Windows
// lists for a parallel port (LPT1 at 0x378, a PCI Express card at 0xE050),
// so that a byte never goes where no port answers, and an address typed wrong
// cannot reach a clock or a disk controller. Only where Windows cannot give
// its device list at all may it write at a legacy parallel-port address
// (0x378, 0x278, 0x3BC). Then inpoutx64.dll is loaded and Out32 and
// IsInpOutDriverOpen are looked up and kept for the run. Anything missing is
// fatal: PortUnavailable, with a message giving the cause Windows tells and
// what to do. Each write is one Out32 to the data register; InpOut reports
// nothing, so a byte that does not reach the port cannot be told.
#pragma once

#include "port/port_output.h"
#include "port/windows/windows_calls.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace pp {

using WindowsPortList = std::optional<std::vector<WindowsParport>>;

// Whether the program may write to `address`: inside an I/O range of a
// parallel port in `ports`, or, where the list could not be read, at a legacy
// address.
bool MayWriteOnWindows(std::uint16_t address, const WindowsPortList& ports);

// The address of a port's data register: the start of its 8-byte range (a
// card also has an ECP range, which Windows may list first, 0x400 above the
// data register where both are 8 bytes), or of its first. `port` has ranges.
std::uint16_t DataRegister(const WindowsParport& port);

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
