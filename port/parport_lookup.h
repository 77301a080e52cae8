// Finding which of the kernel's parallel ports sits at a given I/O address.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pp {

// Looks through `parportDir` (normally /proc/sys/dev/parport) for a port
// directory "parportN" whose base-addr file starts with `base` in decimal,
// and returns its name ("parportN"), the lowest N if several match.
// Returns nothing when the directory is missing or no port matches.
std::optional<std::string> FindParport(const std::filesystem::path& parportDir, std::uint16_t base);

} // namespace pp
