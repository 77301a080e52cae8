#include "port/parport_lookup.h"

#include <charconv>
#include <fstream>
#include <system_error>

namespace pp {

namespace {

// The N of a directory named "parportN", if that is its name.
std::optional<unsigned> portNumber(const std::string& name) {
    constexpr std::string_view prefix = "parport";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    unsigned number = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return number;
}

// The first field of base-addr, e.g. "888\t0\n" gives 888.
std::optional<unsigned long> baseAddress(const std::filesystem::path& file) {
    std::ifstream in(file);
    unsigned long base = 0;
    if (!(in >> base)) {
        return std::nullopt;
    }
    return base;
}

} // namespace

std::optional<std::string> FindParport(const std::filesystem::path& parportDir,
                                       std::uint16_t base) {
    std::error_code error;
    std::filesystem::directory_iterator it(parportDir, error);
    if (error) {
        return std::nullopt;
    }
    std::optional<unsigned> best;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error) {
            break;
        }
        const auto number = portNumber(it->path().filename().string());
        if (!number || (best && *best <= *number)) {
            continue;
        }
        if (baseAddress(it->path() / "base-addr") == base) {
            best = number;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return "parport" + std::to_string(*best);
}

} // namespace pp
