// System calls for the port layer's tests: each call is recorded and answers
// with the result it was given.
#pragma once

#include "port/system_calls.h"

#include <cerrno>
#include <cstdio>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace pp::testing {

using Calls = std::vector<std::string>;

inline std::string Hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

class FakeSystem final : public SystemCalls {
public:
    int openResult = 3;
    int lockResult = 0;
    std::deque<int> claimResults;            // then 0
    int accessResult = 0;                    // of ioperm: 0 as root
    std::map<std::string, int> checkResults; // by path, else -ENOENT
    std::map<std::string, NodeKind> nodes;   // by path, else Missing
    Calls calls;

    int openDevice(const std::string& path) override {
        calls.push_back("open " + path);
        return openResult;
    }
    int closeDevice(int fd) override {
        calls.push_back("close " + std::to_string(fd));
        return 0;
    }
    int lockExclusive(int) override {
        calls.push_back("lock");
        return lockResult;
    }
    int unlock(int) override {
        calls.push_back("unlock");
        return 0;
    }
    int claim(int) override {
        calls.push_back("claim");
        if (claimResults.empty()) {
            return 0;
        }
        const int result = claimResults.front();
        claimResults.pop_front();
        return result;
    }
    int writeData(int, PortByte value) override {
        calls.push_back("data " + Hex(value));
        return 0;
    }
    int release(int) override {
        calls.push_back("release");
        return 0;
    }
    int checkAccess(const std::string& path) override {
        const auto found = checkResults.find(path);
        return found == checkResults.end() ? -ENOENT : found->second;
    }
    NodeKind nodeKind(const std::string& path) override {
        const auto found = nodes.find(path);
        return found == nodes.end() ? NodeKind::Missing : found->second;
    }
    int grantPortAccess(std::uint16_t port) override {
        calls.push_back("ioperm " + Hex(port));
        return accessResult;
    }
    void outputByte(std::uint16_t port, PortByte value) override {
        calls.push_back("outb " + Hex(port) + " " + Hex(value));
    }
};

} // namespace pp::testing
