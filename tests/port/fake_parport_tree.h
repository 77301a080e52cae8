// A scratch /proc/sys/dev/parport and /dev, removed when it goes out of scope.
#pragma once

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
    }
    ~FakeParportTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FakeParportTree(const FakeParportTree&) = delete;
    FakeParportTree& operator=(const FakeParportTree&) = delete;

    std::filesystem::path procDir() const { return root_ / "proc"; }
    std::filesystem::path devDir() const { return root_ / "dev"; }

    // Adds directory `name` with a base-addr file holding `baseAddr` as is.
    void addPort(const std::string& name, const std::string& baseAddr) {
        std::filesystem::create_directories(procDir() / name);
        std::ofstream(procDir() / name / "base-addr") << baseAddr;
    }

    // Adds directory `name` without any base-addr file.
    void addDirectory(const std::string& name) {
        std::filesystem::create_directories(procDir() / name);
    }

private:
    std::filesystem::path root_;
};

} // namespace pp::testing
