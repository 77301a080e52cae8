// System calls for the port layer's tests: each call is recorded and answers
// with the result it was given.
#pragma once

#include "port/linux/system_calls.h"

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

// The next result of a queue of results, 0 once it is empty.
inline int Next(std::deque<int>& results) {
    if (results.empty()) {
        return 0;
    }
    const int result = results.front();
    results.pop_front();
    return result;
}

class FakeSystem final : public SystemCalls {
public:
    std::deque<int> openResults;             // then 3
    std::deque<int> lockResults;             // then 0
    std::deque<int> claimResults;            // then 0
    std::deque<int> writeResults;            // then 0
    std::deque<int> releaseResults;          // then 0
    std::deque<int> nodeResults;             // of checkNode, then 0
    int accessResult = 0;                    // of ioperm: 0 as root
    bool rawIo = false;                      // CAP_SYS_RAWIO
    std::map<std::string, int> checkResults; // by path, else -ENOENT
    std::map<std::string, NodeKind> nodes;   // by path, else Missing
    GroupAccess group = {"lp", false, false};
    Calls calls;

    int openDevice(const std::string& path) override {
        calls.push_back("open " + path);
        const int result = Next(openResults);
        return result == 0 ? 3 : result;
    }
    int closeDevice(int fd) override {
        calls.push_back("close " + std::to_string(fd));
        return 0;
    }
    int lockExclusive(int, Deadline) override {
        calls.push_back("lock");
        return Next(lockResults);
    }
    int unlock(int) override {
        calls.push_back("unlock");
        return 0;
    }
    int claim(int, Deadline) override {
        calls.push_back("claim");
        return Next(claimResults);
    }
    int writeData(int, PortByte value) override {
        calls.push_back("data " + Hex(value));
        return Next(writeResults);
    }
    int release(int) override {
        calls.push_back("release");
        return Next(releaseResults);
    }
    int checkNode(int, const std::string&) override { return Next(nodeResults); }
    int checkAccess(const std::string& path) override {
        const auto found = checkResults.find(path);
        return found == checkResults.end() ? -ENOENT : found->second;
    }
    NodeKind nodeKind(const std::string& path) override {
        const auto found = nodes.find(path);
        return found == nodes.end() ? NodeKind::Missing : found->second;
    }
    GroupAccess groupAccess(const std::string&) override { return group; }
    int grantPortAccess(std::uint16_t port) override {
        calls.push_back("ioperm " + Hex(port));
        return accessResult;
    }
    void outputByte(std::uint16_t port, PortByte value) override {
        calls.push_back("outb " + Hex(port) + " " + Hex(value));
    }
    bool hasRawIo() override { return rawIo; }
};

} // namespace pp::testing
