// A scratch /proc/sys/dev/parport, /dev and /sys/module, removed when it goes
// out of scope.
#pragma once

#include "port/linux/parport_lookup.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace pp::testing {

class FakeParportTree {
public:
    // The running kernel's release, as uname -r says it.
    static constexpr const char* KernelRelease = "6.1.0-99-amd64";

    FakeParportTree() {
        // A folder of its own, made anew (0700), never one found there.
        std::string name = (std::filesystem::temp_directory_path() / "pp-parport-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) {
            throw std::filesystem::filesystem_error(
                "mkdtemp", name, std::error_code(errno, std::generic_category()));
        }
        root_ = name;
        std::filesystem::create_directories(procDir());
        std::filesystem::create_directories(devDir());
        std::filesystem::create_directories(moduleDir());
        std::filesystem::create_directories(kernelModulesDir());
        std::ofstream(kernelModulesDir() / "modules.dep")
            << "kernel/drivers/parport/parport.ko.xz:\n"
               "kernel/drivers/parport/parport_pc.ko.xz: kernel/drivers/parport/parport.ko.xz\n";
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
    // The running kernel's module lists; parport_pc is among them.
    std::filesystem::path kernelModulesDir() const { return modulesRoot() / KernelRelease; }
    std::filesystem::path modulesRoot() const { return root_ / "lib-modules"; }
    std::filesystem::path bootDir() const { return root_ / "boot"; }
    ParportPaths paths() const {
        return {procDir(),           devDir(),  moduleDir(),  modulesRoot(),
                root_ / "config.gz", bootDir(), KernelRelease};
    }
    std::string node(const std::string& name) const { return (devDir() / name).string(); }

    // As when parport_pc is loaded (or built in).
    void loadPcDriver() { loadModule("parport_pc"); }
    // Driver `name` loaded or built in, or a module of the kernel listed in
    // `list` by `line`.
    void loadModule(const std::string& name) {
        std::filesystem::create_directories(moduleDir() / name);
    }
    void listModules(const std::string& list, const std::string& line) {
        std::ofstream(kernelModulesDir() / list) << line;
    }
    // Of the running kernel: its modules gone, another kernel's (`release`)
    // installed instead, or its configuration in the boot folder.
    void removeKernelModules() { std::filesystem::remove_all(kernelModulesDir()); }
    void installKernel(const std::string& release) {
        std::filesystem::create_directories(modulesRoot() / release);
        std::ofstream(modulesRoot() / release / "modules.dep") << "";
    }
    void writeBootConfig(const std::string& text) {
        std::filesystem::create_directories(bootDir());
        std::ofstream(bootDir() / (std::string("config-") + KernelRelease)) << text;
    }

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
