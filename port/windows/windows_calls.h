// What the port layer asks of Windows, behind an interface so that it can be
// exercised without Windows, without a port and without InpOut: the port
// library InpOut (InpOut x64 for the x64 build, InpOut32 for the 32-bit one),
// what Windows says of its driver, and Windows' list of parallel ports.
#pragma once

#include "port/port_output.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

// The InpOut a build of the program loads: the one for its own machine.
struct InpOutEdition {
    std::string_view library; // "inpoutx64.dll"
    std::string_view name;    // "InpOut x64"
    std::string_view folder;  // where InpOut's download keeps it: "x64"
    std::string_view bits;    // "64": the Windows it is for
    std::string_view other;   // the other edition's library, which will not load
    // Its driver's service, as InpOut's documentation names it; empty where
    // it does not, and the service manager is then not asked.
    std::string_view service;
};
inline constexpr InpOutEdition InpOutX64 = {"inpoutx64.dll", "InpOut x64", "x64", "64",
                                            "inpout32.dll",  "inpoutx64"};
inline constexpr InpOutEdition InpOut32 = {"inpout32.dll", "InpOut32",      "Win32",
                                           "32",           "inpoutx64.dll", ""};

// InpOut's functions, looked up once and kept for the run.
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

// Why InpOut could not be had.
enum class InpOutFailure : std::uint8_t {
    None,
    Missing,       // no library beside the program nor in System32
    OtherMachine,  // a DLL for another machine, such as the other edition
    NoOut32,       // the DLL has no Out32
    NoDriverCheck, // nor IsInpOutDriverOpen
    LoadFailed,    // any other reason Windows gave
};

struct InpOutLoad {
    InpOutEdition edition = InpOutX64;
    std::unique_ptr<InpOut> library; // when failure is None
    InpOutFailure failure = InpOutFailure::None;
    std::string path;        // the DLL loaded, or where it was looked for
    unsigned long error = 0; // Windows' error code where loading failed
};

// The state of InpOut's driver, its kernel service.
enum class DriverService : std::uint8_t { Unknown, Missing, Stopped, Running };
// A protection of Windows that may keep the driver from loading.
enum class Protection : std::uint8_t { Unknown, Off, On };

// What Windows says of InpOut and its driver, asked without loading it.
struct InpOutState {
    InpOutEdition edition = InpOutX64;
    std::string library;   // where the library would be loaded from, or empty
    bool elevated = false; // the program runs as administrator (its token is elevated)
    DriverService service = DriverService::Unknown;
    unsigned long serviceError = 0; // the service's exit code, where it stopped with one
    // Memory Integrity (hypervisor-protected code integrity) running in the
    // kernel, and Smart App Control enforcing (not only evaluating).
    Protection memoryIntegrity = Protection::Unknown;
    Protection smartAppControl = Protection::Unknown;
    // Microsoft's vulnerable driver blocklist as its switch in Windows
    // Security sets it (the registry's VulnerableDriverBlocklistEnable):
    // Unknown where the value is absent. What Windows enforces also depends on
    // the other two and on its build: DriverBlocklist tells.
    Protection blocklist = Protection::Unknown;
    unsigned long windowsBuild = 0; // as RtlGetVersion gives it; 0 where unknown
    bool windows64 = true;          // 64-bit Windows, whichever build runs on it
};

class WindowsCalls {
public:
    virtual ~WindowsCalls() = default;

    // Loads the edition's library from the program's folder or else from
    // System32, never from anywhere else, and looks up Out32 and
    // IsInpOutDriverOpen.
    virtual InpOutLoad loadInpOut() = 0;
    virtual InpOutState inpOutState() = 0;
    // The parallel ports in Windows' device list, in order of their names, or
    // nothing where the list cannot be read at all (the Configuration Manager
    // answers with an error, or cannot give a 32-bit program on 64-bit
    // Windows 8 or 8.1 the ports' I/O ranges).
    virtual std::optional<std::vector<WindowsParport>> parallelPorts() = 0;
    // The folder the program runs from, where InpOut's library belongs, and
    // Windows' System32, the other place it may be.
    virtual std::string programFolder() = 0;
    virtual std::string systemFolder() = 0;

protected:
    WindowsCalls() = default;
    WindowsCalls(const WindowsCalls&) = default;
    WindowsCalls& operator=(const WindowsCalls&) = default;
};

} // namespace pp
