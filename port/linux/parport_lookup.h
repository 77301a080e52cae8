// What the kernel knows of the machine's parallel ports: the ports it
// registered, where their registers are, who holds each, whether its PC
// driver is loaded, and the USB printer adapters it drives.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pp {

// Where the kernel shows its parallel ports.
struct ParportPaths {
    std::filesystem::path procDir = "/proc/sys/dev/parport"; // parportN/base-addr
    std::filesystem::path devDir = "/dev";                   // parportN, made by ppdev
    std::filesystem::path moduleDir = "/sys/module";         // parport_pc, when loaded
    // modulesRoot/RELEASE/modules.dep and modules.builtin: the modules a
    // kernel can load, one folder per kernel installed.
    std::filesystem::path modulesRoot = "/lib/modules";
    // The running kernel's configuration: procConfig (gzip), or
    // bootDir/config-RELEASE.
    std::filesystem::path procConfig = "/proc/config.gz";
    std::filesystem::path bootDir = "/boot";
    // The running kernel's release (uname -r) where empty.
    std::string kernelRelease;
};

// A port the kernel registered.
struct Parport {
    std::string name;   // "parport0"
    unsigned long base; // I/O address of its data register; 0 for a USB bridge
    std::string node;   // its ppdev device node, "/dev/parport0", whether it exists or not

    // USB-to-parallel bridges that the kernel drives as ports (uss720) have
    // no I/O address: they are reached through their node only.
    bool hasAddress() const { return base != 0; }
};

// Every port directory "parportN" of procDir whose base-addr file starts with
// a decimal address, in the order of N. Empty when procDir is missing.
std::vector<Parport> ListParports(const ParportPaths& paths);

// The port of `ports` (as ListParports gives them) whose base address is
// `base`: the lowest N if several match.
std::optional<Parport> FindParport(const std::vector<Parport>& ports, std::uint16_t base);

// The port of `ports` whose device node is `node`.
std::optional<Parport> FindParportByNode(const std::vector<Parport>& ports,
                                         const std::string& node);

// Whether the kernel's PC parallel-port driver, parport_pc, is loaded, as a
// module or built in: it then has registered every port it found.
bool PcDriverLoaded(const ParportPaths& paths);

// What can be told of the running kernel's parallel-port driver.
enum class KernelDriver : std::uint8_t {
    Present,      // loaded or built in (parport or parport_pc in moduleDir), among
                  // the modules it can load, or in its configuration
    Absent,       // its configuration, or its module lists where the configuration
                  // cannot be read, name no parport_pc: modprobe cannot help
    NotInstalled, // in its configuration, but not among its modules installed
    Unknown,      // neither its module lists nor its configuration could be read
    Upgraded,     // its modules are gone and another kernel's are installed, as
                  // when a new kernel was installed without restarting since
};

// Says "absent" only on evidence: a configuration that was read, or a module
// list that was read, without parport_pc.
KernelDriver KernelParportDriver(const ParportPaths& paths);

// The kernel's name for the device that holds port `parport` now: "ppdev0"
// for a program using /dev/parport0, "lp0" for the printer driver. Empty when
// nothing holds it or the kernel does not say.
std::string PortHolder(const ParportPaths& paths, const std::string& parport);

// The nodes of the USB printer adapters (usblp), devDir/usb/lpN, in order.
std::vector<std::string> UsbPrinterNodes(const ParportPaths& paths);

} // namespace pp
