// The port write on Windows x64, through InpOut x64 (inpoutx64.dll), the free
// port library whose signed driver reaches I/O ports on 64-bit Windows.
//
// At the first write, and never before, the address is checked and the
// library loaded: the program writes only at a legacy parallel-port address
// (0x378, 0x278, 0x3BC) or inside an I/O range that Windows lists for a
// parallel port (a PCI Express card at 0xE050, say), so that an address typed
// wrong cannot reach a clock or a disk controller. Then inpoutx64.dll is
// loaded and Out32 and IsInpOutDriverOpen are looked up and kept for the run.
// Anything missing is fatal: PortUnavailable, with a message saying what to
// do. Each write is one Out32 to the data register; InpOut reports nothing, so
// a byte that does not reach the port cannot be told.
#pragma once

#include "port/port_output.h"
#include "port/windows/windows_calls.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace pp {

// Whether the program may write to `address`: a legacy address, or one inside
// an I/O range of a parallel port in `ports`.
bool MayWriteOnWindows(std::uint16_t address, const std::vector<WindowsParport>& ports);

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
