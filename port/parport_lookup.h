// What the kernel knows of the machine's parallel ports: the ports it
// registered, where their registers are, and whether its PC driver is loaded.
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
};

// A port the kernel registered.
struct Parport {
    std::string name;   // "parport0"
    unsigned long base; // I/O address of its data register
    std::string node;   // its ppdev device node, "/dev/parport0", whether it exists or not
};

// Every port directory "parportN" of procDir whose base-addr file starts with
// a decimal address, in the order of N. Empty when procDir is missing.
std::vector<Parport> ListParports(const ParportPaths& paths);

// The port of `ports` (as ListParports gives them) whose base address is
// `base`: the lowest N if several match.
std::optional<Parport> FindParport(const std::vector<Parport>& ports, std::uint16_t base);

// Whether the kernel's PC parallel-port driver, parport_pc, is loaded, as a
// module or built in: it then has registered every port it found.
bool PcDriverLoaded(const ParportPaths& paths);

} // namespace pp
