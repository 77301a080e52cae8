#include "port/linux/parport_lookup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <string_view>
#include <system_error>

#include <sys/utsname.h>
#include <zlib.h>

namespace pp {

namespace {

// The N of a name "<prefix>N", if that is its form.
std::optional<unsigned> numberAfter(std::string_view prefix, const std::string& name) {
    if (name.size() <= prefix.size() || !name.starts_with(prefix)) {
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

// Whether a module list, modules.dep or modules.builtin, names parport_pc in
// a line such as "kernel/drivers/parport/parport_pc.ko.xz: kernel/...";
// nothing where it cannot be read.
std::optional<bool> listNamesParportPc(const std::filesystem::path& list) {
    std::ifstream in(list);
    if (!in) {
        return std::nullopt;
    }
    std::string line;
    while (std::getline(in, line)) {
        const std::string module = line.substr(0, line.find(':'));
        if (module.find("/parport_pc.ko") != std::string::npos) {
            return true;
        }
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return false;
}

// Whether a kernel's configuration, plain or compressed with gzip as
// /proc/config.gz is, has the PC driver (CONFIG_PARPORT_PC=y or =m); nothing
// where it cannot be read whole or is no configuration.
std::optional<bool> configHasParportPc(const std::filesystem::path& file) {
    const gzFile in = ::gzopen(file.c_str(), "rb"); // plain files are read as they are
    if (in == nullptr) {
        return std::nullopt;
    }
    std::array<char, 512> chunk{};
    bool atLineStart = true; // a line longer than a chunk comes in pieces
    bool isConfig = false;
    bool has = false;
    while (!has && ::gzgets(in, chunk.data(), static_cast<int>(chunk.size())) != nullptr) {
        const std::string_view piece(chunk.data());
        if (atLineStart) {
            isConfig = isConfig || piece.starts_with("CONFIG_") || piece.starts_with("# CONFIG_");
            has = piece.starts_with("CONFIG_PARPORT_PC=y") ||
                  piece.starts_with("CONFIG_PARPORT_PC=m");
        }
        atLineStart = piece.ends_with('\n');
    }
    int error = Z_OK;
    ::gzerror(in, &error);
    ::gzclose(in);
    if (has) {
        return true;
    }
    if (error != Z_OK || !isConfig) {
        return std::nullopt;
    }
    return false;
}

std::string runningRelease() {
    utsname names{};
    if (::uname(&names) != 0) {
        return "";
    }
    return static_cast<const char*>(names.release);
}

// Whether another kernel than `release` has its modules in `root`.
bool otherKernelInstalled(const std::filesystem::path& root, const std::string& release) {
    std::error_code error;
    std::filesystem::directory_iterator it(root, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (it->path().filename() != release &&
            std::filesystem::exists(it->path() / "modules.dep", error)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<Parport> ListParports(const ParportPaths& paths) {
    std::vector<std::pair<unsigned, Parport>> found;
    std::error_code error;
    std::filesystem::directory_iterator it(paths.procDir, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        const auto number = numberAfter("parport", name);
        if (!number) {
            continue;
        }
        if (const auto base = baseAddress(it->path() / "base-addr")) {
            found.push_back({*number, {name, *base, (paths.devDir / name).string()}});
        }
    }
    std::ranges::sort(found, [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Parport> ports;
    ports.reserve(found.size());
    for (auto& [number, port] : found) {
        ports.push_back(std::move(port));
    }
    return ports;
}

std::optional<Parport> FindParport(const std::vector<Parport>& ports, std::uint16_t base) {
    const auto found =
        std::ranges::find_if(ports, [base](const Parport& port) { return port.base == base; });
    if (found == ports.end()) {
        return std::nullopt;
    }
    return *found;
}

std::optional<Parport> FindParportByNode(const std::vector<Parport>& ports,
                                         const std::string& node) {
    const auto found =
        std::ranges::find_if(ports, [&node](const Parport& port) { return port.node == node; });
    if (found == ports.end()) {
        return std::nullopt;
    }
    return *found;
}

bool PcDriverLoaded(const ParportPaths& paths) {
    std::error_code error;
    return std::filesystem::exists(paths.moduleDir / "parport_pc", error);
}

KernelDriver KernelParportDriver(const ParportPaths& paths) {
    std::error_code error;
    if (PcDriverLoaded(paths) || std::filesystem::exists(paths.moduleDir / "parport", error)) {
        return KernelDriver::Present;
    }
    const std::string release =
        paths.kernelRelease.empty() ? runningRelease() : paths.kernelRelease;
    const std::filesystem::path modules = paths.modulesRoot / release;
    const auto loadable = listNamesParportPc(modules / "modules.dep");
    const auto builtIn = listNamesParportPc(modules / "modules.builtin");
    if (loadable.value_or(false) || builtIn.value_or(false)) {
        return KernelDriver::Present;
    }
    const bool listed = loadable.has_value() || builtIn.has_value(); // read, and without it
    auto configured = configHasParportPc(paths.procConfig);
    if (!configured) {
        configured = configHasParportPc(paths.bootDir / ("config-" + release));
    }
    if (configured == false) {
        return KernelDriver::Absent;
    }
    if (!std::filesystem::exists(modules / "modules.dep", error) &&
        otherKernelInstalled(paths.modulesRoot, release)) {
        return KernelDriver::Upgraded;
    }
    if (listed) {
        return configured.has_value() ? KernelDriver::NotInstalled : KernelDriver::Absent;
    }
    return configured.has_value() ? KernelDriver::Present : KernelDriver::Unknown;
}

std::string PortHolder(const ParportPaths& paths, const std::string& parport) {
    std::ifstream in(paths.procDir / parport / "devices" / "active");
    std::string holder;
    if (!(in >> holder) || holder == "none") {
        return "";
    }
    return holder;
}

std::vector<std::string> UsbPrinterNodes(const ParportPaths& paths) {
    std::vector<std::pair<unsigned, std::string>> found;
    std::error_code error;
    std::filesystem::directory_iterator it(paths.devDir / "usb", error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (const auto number = numberAfter("lp", it->path().filename().string())) {
            found.emplace_back(*number, it->path().string());
        }
    }
    std::ranges::sort(found);
    std::vector<std::string> nodes;
    nodes.reserve(found.size());
    for (auto& [number, node] : found) {
        nodes.push_back(std::move(node));
    }
    return nodes;
}

} // namespace pp
