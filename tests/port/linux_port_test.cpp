#include "port/linux_port.h"

#include "port/port_messages.h"
#include "tests/port/fake_parport_tree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

namespace pp {
namespace {

using Calls = std::vector<std::string>;

std::string Hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// Records every call; each answers with the result it was given.
class FakeSystem final : public SystemCalls {
public:
    int openResult = 3;
    int lockResult = 0;
    std::deque<int> claimResults; // then 0
    int accessResult = 0;
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
    int grantPortAccess(std::uint16_t port) override {
        calls.push_back("ioperm " + Hex(port));
        return accessResult;
    }
    void outputByte(std::uint16_t port, PortByte value) override {
        calls.push_back("outb " + Hex(port) + " " + Hex(value));
    }
};

class LinuxPortTest : public ::testing::Test {
protected:
    LinuxPort makePort() { return LinuxPort(system, {tree.procDir(), tree.devDir()}); }
    std::string node(const std::string& name) const { return (tree.devDir() / name).string(); }
    Calls driverCycle(const std::string& byte) const {
        return {"lock", "claim", "data " + byte, "release", "unlock"};
    }

    testing::FakeParportTree tree;
    FakeSystem system;
};

Calls Join(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST_F(LinuxPortTest, TouchesNothingUntilTheFirstWrite) {
    tree.addPort("parport0", "888\t0\n");
    { LinuxPort port(system, {tree.procDir(), tree.devDir()}); }
    EXPECT_TRUE(system.calls.empty());
}

// How the port is reached, from what the kernel offers and what is allowed.
struct AccessCase {
    const char* what;
    const char* parportAt888; // nullptr: the kernel knows no port at 888
    int openResult;
    int accessResult;
    bool direct; // otherwise through the driver
};

TEST_F(LinuxPortTest, ChoosesBetweenTheDriverAndDirectAccess) {
    const AccessCase cases[] = {
        {"driver, no root needed", "parport0", 3, -EPERM, false},
        {"driver even where root could go direct", "parport0", 3, 0, false},
        {"the port at 888 is parport1", "parport1", 3, -EPERM, false},
        {"no device node: direct as root", "parport0", -ENOENT, 0, true},
        {"node without ppdev driver: direct as root", "parport0", -ENXIO, 0, true},
        {"node without device: direct as root", "parport0", -ENODEV, 0, true},
        {"kernel knows no port: direct as root", nullptr, 3, 0, true},
    };
    for (const AccessCase& c : cases) {
        testing::FakeParportTree cleanTree;
        FakeSystem cleanSystem;
        cleanSystem.openResult = c.openResult;
        cleanSystem.accessResult = c.accessResult;
        if (c.parportAt888 != nullptr) {
            cleanTree.addPort("parport0",
                              c.parportAt888 == std::string("parport0") ? "888\t0\n" : "632\t0\n");
            cleanTree.addPort(c.parportAt888, "888\t0\n");
        }
        LinuxPort port(cleanSystem, {cleanTree.procDir(), cleanTree.devDir()});
        port.PortOut(0x77);

        Calls expected;
        if (c.parportAt888 != nullptr) {
            expected.push_back("open " + (cleanTree.devDir() / c.parportAt888).string());
        }
        if (c.direct) {
            expected.insert(expected.end(), {"ioperm 0x378", "outb 0x378 0x77"});
        } else {
            expected.insert(expected.end(), {"lock", "claim", "data 0x77", "release", "unlock"});
        }
        EXPECT_EQ(cleanSystem.calls, expected) << c.what;
    }
}

// Each way the port can be out of reach, and what the user is told.
struct FatalCase {
    const char* what;
    bool parportAt888;
    int openResult;
    int accessResult;
    std::string (*message)(const std::string& node);
};

TEST_F(LinuxPortTest, ReportsWhyThePortIsOutOfReach) {
    const FatalCase cases[] = {
        {"no port known, not root", false, 3, -EPERM,
         [](const std::string&) { return NoPortMessage(); }},
        {"no port known, no I/O ports on this machine", false, 3, -ENOSYS,
         [](const std::string&) { return NoPortMessage(); }},
        {"ppdev not loaded, not root", true, -ENOENT, -EPERM,
         [](const std::string& node) { return NoDeviceNodeMessage("parport0", node); }},
        {"node left without ppdev, not root", true, -ENXIO, -EPERM,
         [](const std::string& node) { return NoDeviceNodeMessage("parport0", node); }},
        {"not in group lp", true, -EACCES, 0, PermissionDeniedMessage},
        {"refused by a security module", true, -EPERM, 0, PermissionDeniedMessage},
        {"node busy", true, -EBUSY, 0,
         [](const std::string& node) { return OpenFailedMessage(node, EBUSY); }},
    };
    for (const FatalCase& c : cases) {
        testing::FakeParportTree cleanTree;
        FakeSystem cleanSystem;
        cleanSystem.openResult = c.openResult;
        cleanSystem.accessResult = c.accessResult;
        if (c.parportAt888) {
            cleanTree.addPort("parport0", "888\t0\n");
        }
        LinuxPort port(cleanSystem, {cleanTree.procDir(), cleanTree.devDir()});
        try {
            port.PortOut(0x06);
            ADD_FAILURE() << c.what << ": no failure reported";
        } catch (const PortUnavailable& failure) {
            EXPECT_EQ(failure.what(), c.message((cleanTree.devDir() / "parport0").string()))
                << c.what;
        }
        for (const std::string& call : cleanSystem.calls) {
            EXPECT_EQ(call.rfind("data", 0), std::string::npos) << c.what;
            EXPECT_EQ(call.rfind("outb", 0), std::string::npos) << c.what;
        }
    }
}

TEST_F(LinuxPortTest, PermissionDeniedDoesNotFallBackToDirectAccess) {
    tree.addPort("parport0", "888\t0\n");
    system.openResult = -EACCES;
    LinuxPort port = makePort();
    EXPECT_THROW(port.PortOut(0x3F), PortUnavailable);
    EXPECT_EQ(system.calls, Calls{"open " + node("parport0")});
}

TEST_F(LinuxPortTest, OpensOnceAndWrapsEveryWriteInLockClaimRelease) {
    tree.addPort("parport0", "888\t0\n");
    {
        LinuxPort port = makePort();
        port.PortOut(0x77);
        port.PortOut(0x77);
        port.PortOut(0x06);
    }
    EXPECT_EQ(system.calls, Join({{"open " + node("parport0")},
                                  driverCycle("0x77"),
                                  driverCycle("0x77"),
                                  driverCycle("0x06"),
                                  {"close 3"}}));
}

TEST_F(LinuxPortTest, DirectAccessIsGrantedOnceAndWritesOnlyTheDataRegister) {
    system.accessResult = 0;
    LinuxPort port = makePort();
    for (int i = 0; i < 100; ++i) {
        port.PortOut(static_cast<PortByte>(i));
    }
    ASSERT_EQ(system.calls.size(), 101U);
    EXPECT_EQ(system.calls.front(), "ioperm 0x378");
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(system.calls[static_cast<std::size_t>(i) + 1], "outb 0x378 " + Hex(i));
    }
}

TEST_F(LinuxPortTest, AFirstClaimThatFailsIsFatal) {
    tree.addPort("parport0", "888\t0\n");
    system.claimResults = {-EIO};
    LinuxPort port = makePort();
    try {
        port.PortOut(0x7F);
        ADD_FAILURE() << "no failure reported";
    } catch (const PortUnavailable& failure) {
        EXPECT_EQ(failure.what(), ClaimFailedMessage(node("parport0"), EIO));
    }
    EXPECT_EQ(system.calls,
              (Calls{"open " + node("parport0"), "lock", "claim", "unlock", "close 3"}));
}

TEST_F(LinuxPortTest, ALaterClaimThatFailsLosesOnlyThatByte) {
    tree.addPort("parport0", "888\t0\n");
    system.claimResults = {0, -EIO};
    LinuxPort port = makePort();
    port.PortOut(0x01);
    EXPECT_NO_THROW(port.PortOut(0x02));
    port.PortOut(0x03);
    EXPECT_EQ(system.calls, Join({{"open " + node("parport0")},
                                  driverCycle("0x01"),
                                  {"lock", "claim", "unlock"},
                                  driverCycle("0x03")}));
}

TEST(PortMessages, NameTheCauseAndTheRemedy) {
    struct Expectation {
        std::string message;
        std::vector<std::string> mentions;
    };
    const Expectation expectations[] = {
        {NoPortMessage(), {"0x378", "modprobe parport_pc", "BIOS", "root"}},
        {NoDeviceNodeMessage("parport0", "/dev/parport0"),
         {"0x378", "parport0", "/dev/parport0", "ppdev", "sudo modprobe ppdev"}},
        {PermissionDeniedMessage("/dev/parport0"),
         {"0x378", "/dev/parport0", "permiso", "grupo lp", "sudo adduser $USER lp"}},
        {OpenFailedMessage("/dev/parport0", EBUSY), {"0x378", "/dev/parport0", "errno 16"}},
        {ClaimFailedMessage("/dev/parport0", EIO), {"0x378", "/dev/parport0", "errno 5"}},
    };
    for (const Expectation& e : expectations) {
        for (const std::string& mention : e.mentions) {
            EXPECT_NE(e.message.find(mention), std::string::npos)
                << "\"" << mention << "\" missing from:\n"
                << e.message;
        }
    }
}

} // namespace
} // namespace pp
