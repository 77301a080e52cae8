// A scratch /proc/sys/dev/parport, /dev and /sys/module, removed when it goes
// out of scope.
#pragma once

#include "port/linux/parport_lookup.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace pp::testing {

class FakeParportTree {
public:
    FakeParportTree() {
        std::random_device random;
        root_ = std::filesystem::temp_directory_path() /
                ("pp-parport-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(procDir());
        std::filesystem::create_directories(devDir());
        std::filesystem::create_directories(moduleDir());
    }
    ~FakeParportTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakeParportTree(const FakeParportTree&) = delete;
    FakeParportTree& operator=(const FakeParportTree&) = delete;

    std::filesystem::path procDir() const { return root_ / "proc"; }
    std::filesystem::path devDir() const { return root_ / "dev"; }
    std::filesystem::path moduleDir() const { return root_ / "module"; }
    ParportPaths paths() const { return {procDir(), devDir(), moduleDir()}; }
    std::string node(const std::string& name) const { return (devDir() / name).string(); }

    // As when parport_pc is loaded (or built in).
    void loadPcDriver() { std::filesystem::create_directories(moduleDir() / "parport_pc"); }

    // Adds directory `name` with a base-addr file holding `baseAddr` as is.
    void addPort(const std::string& name, const std::string& baseAddr) {
        std::filesystem::create_directories(procDir() / name);
        std::ofstream(procDir() / name / "base-addr") << baseAddr;
    }

    // Port `name` held by the kernel's device `holder` ("ppdev0", "lp0").
    void setHolder(const std::string& name, const std::string& holder) {
        std::filesystem::create_directories(procDir() / name / "devices");
        std::ofstream(procDir() / name / "devices" / "active") << holder << "\n";
    }

    // A USB printer adapter's node, devDir/usb/`name`.
    std::string addUsbPrinter(const std::string& name) {
        std::filesystem::create_directories(devDir() / "usb");
        std::ofstream(devDir() / "usb" / name) << "";
        return (devDir() / "usb" / name).string();
    }

    // Adds directory `name` without any base-addr file.
    void addDirectory(const std::string& name) {
        std::filesystem::create_directories(procDir() / name);
    }

private:
    std::filesystem::path root_;
};

} // namespace pp::testing
