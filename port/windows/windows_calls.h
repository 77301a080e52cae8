// What the port layer asks of Windows, behind an interface so that it can be
// exercised without Windows, without a port and without InpOut: the port
// library InpOut x64 and Windows' list of parallel ports.
#pragma once

#include "port/port_output.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pp {

// A range of I/O addresses that a device uses, both ends included.
struct IoRange {
    std::uint16_t first;
    std::uint16_t last;

    bool operator==(const IoRange&) const = default;
};

// A parallel port in Windows' device list: a device of class Ports named LPTn,
// with the I/O ranges Device Manager shows under Resources.
struct WindowsParport {
    std::string name;        // "LPT3"
    std::string description; // its friendly name, "Puerto de impresora ECP (LPT3)"
    std::vector<IoRange> ranges;
};

// InpOut x64's functions, looked up once and kept for the run.
class InpOut {
public:
    virtual ~InpOut() = default;

    virtual void out32(std::uint16_t address, PortByte value) = 0; // Out32
    virtual bool driverOpen() = 0;                                 // IsInpOutDriverOpen

protected:
    InpOut() = default;
    InpOut(const InpOut&) = default;
    InpOut& operator=(const InpOut&) = default;
};

// Why InpOut x64 could not be had.
enum class InpOutFailure : std::uint8_t {
    None,
    Missing,       // no inpoutx64.dll beside the program nor on the search path
    NotX64,        // a DLL for another machine, such as the 32-bit inpout32.dll
    NoOut32,       // the DLL has no Out32
    NoDriverCheck, // nor IsInpOutDriverOpen
    LoadFailed,    // any other reason Windows gave
};

struct InpOutLoad {
    std::unique_ptr<InpOut> library; // when failure is None
    InpOutFailure failure = InpOutFailure::None;
    std::string path;        // the DLL loaded, or where it was looked for
    unsigned long error = 0; // Windows' error code where loading failed
};

class WindowsCalls {
public:
    virtual ~WindowsCalls() = default;

    // Loads inpoutx64.dll, from the program's folder, then from the system's
    // search path, and looks up Out32 and IsInpOutDriverOpen.
    virtual InpOutLoad loadInpOut() = 0;
    // The parallel ports in Windows' device list, in order of their names.
    virtual std::vector<WindowsParport> parallelPorts() = 0;
    // The folder the program runs from, where inpoutx64.dll belongs.
    virtual std::string programFolder() = 0;

protected:
    WindowsCalls() = default;
    WindowsCalls(const WindowsCalls&) = default;
    WindowsCalls& operator=(const WindowsCalls&) = default;
};

} // namespace pp
