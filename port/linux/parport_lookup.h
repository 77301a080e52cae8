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

// /lib/modules/RELEASE of the running kernel (uname -r).
std::filesystem::path RunningKernelModules();

// Where the kernel shows its parallel ports.
struct ParportPaths {
    std::filesystem::path procDir = "/proc/sys/dev/parport"; // parportN/base-addr
    std::filesystem::path devDir = "/dev";                   // parportN, made by ppdev
    std::filesystem::path moduleDir = "/sys/module";         // parport_pc, when loaded
    // modules.dep and modules.builtin: the modules the kernel can load; the
    // running kernel's (RunningKernelModules) where empty.
    std::filesystem::path kernelModulesDir;
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

// Whether the running kernel has a parallel-port driver at all: loaded or
// built in (parport or parport_pc in moduleDir), or parport_pc among the
// modules it can load. Without one, modprobe cannot help.
bool KernelHasParportDriver(const ParportPaths& paths);

// The kernel's name for the device that holds port `parport` now: "ppdev0"
// for a program using /dev/parport0, "lp0" for the printer driver. Empty when
// nothing holds it or the kernel does not say.
std::string PortHolder(const ParportPaths& paths, const std::string& parport);

// The nodes of the USB printer adapters (usblp), devDir/usb/lpN, in order.
std::vector<std::string> UsbPrinterNodes(const ParportPaths& paths);

} // namespace pp
