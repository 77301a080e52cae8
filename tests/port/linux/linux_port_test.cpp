#include "port/linux/linux_port.h"
#include "port/linux/linux_ports.h"

#include "port/linux/linux_messages.h"
#include "tests/port/linux/fake_parport_tree.h"
#include "tests/port/linux/fake_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace pp {
namespace {

const std::string At888 = "0x378 (888)";

using testing::Calls;
using testing::FakeSystem;
using testing::Hex;

class LinuxPortTest : public ::testing::Test {
protected:
    LinuxPort makePort(PortChoice choice = {}) { return LinuxPort(system, tree.paths(), choice); }
    std::string node(const std::string& name) const { return tree.node(name); }
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
    { LinuxPort port(system, tree.paths()); }
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
        cleanSystem.openResults = {c.openResult};
        cleanSystem.accessResult = c.accessResult;
        if (c.parportAt888 != nullptr) {
            cleanTree.addPort("parport0",
                              c.parportAt888 == std::string("parport0") ? "888\t0\n" : "632\t0\n");
            cleanTree.addPort(c.parportAt888, "888\t0\n");
        }
        LinuxPort port(cleanSystem, cleanTree.paths());
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
    bool rawIo = false; // root, as ioperm asks
};

const GroupAccess NotInLp = {"lp", false, false};

TEST_F(LinuxPortTest, ReportsWhyThePortIsOutOfReach) {
    const FatalCase cases[] = {
        {"no port known, not root", false, 3, -EPERM,
         [](const std::string&) { return NoPortMessage(DataPort, {}, DirectRefusal::NeedsRoot); }},
        {"no port known, root, kernel locked down", false, 3, -EPERM,
         [](const std::string&) { return NoPortMessage(DataPort, {}, DirectRefusal::LockedDown); },
         true},
        {"no port known, no I/O ports on this machine", false, 3, -ENODEV,
         [](const std::string&) { return NoPortMessage(DataPort, {}, DirectRefusal::NoIoPorts); },
         true},
        {"no port known, a kernel without ioperm", false, 3, -ENOSYS,
         [](const std::string&) { return NoPortMessage(DataPort, {}, DirectRefusal::NoIoperm); },
         true},
        {"ppdev not loaded, not root", true, -ENOENT, -EPERM,
         [](const std::string& node) { return NoDeviceNodeMessage(At888, "parport0", node); }},
        {"node left without ppdev, not root", true, -ENXIO, -EPERM,
         [](const std::string& node) { return NoDeviceNodeMessage(At888, "parport0", node); }},
        {"not in group lp", true, -EACCES, 0,
         [](const std::string& node) { return PermissionDeniedMessage(At888, node, NotInLp); }},
        {"refused by a security module", true, -EPERM, 0,
         [](const std::string& node) { return PermissionDeniedMessage(At888, node, NotInLp); }},
        {"node busy", true, -EBUSY, 0,
         [](const std::string& node) { return OpenFailedMessage(At888, node, EBUSY); }},
    };
    for (const FatalCase& c : cases) {
        testing::FakeParportTree cleanTree;
        FakeSystem cleanSystem;
        cleanSystem.openResults = {c.openResult};
        cleanSystem.accessResult = c.accessResult;
        cleanSystem.rawIo = c.rawIo;
        if (c.parportAt888) {
            cleanTree.addPort("parport0", "888\t0\n");
        }
        LinuxPort port(cleanSystem, cleanTree.paths());
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
    system.openResults = {-EACCES};
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
        EXPECT_EQ(failure.what(), ClaimFailedMessage(At888, node("parport0"), EIO));
    }
    EXPECT_EQ(system.calls,
              (Calls{"open " + node("parport0"), "lock", "claim", "unlock", "close 3"}));
}

// After the port was reached, each failure costs only its own byte, is
// reported, and the next write tries again: three writes, the second failing.
struct LaterCase {
    const char* what;
    FakeSystem results;                              // whose result queues are set
    Calls second;                                    // the calls of the second write
    Calls third;                                     // and of the third
    std::string (*message)(const std::string& node); // the second's; nullptr: written
    const char* holder = nullptr;
    std::vector<const char*> moved = {}; // parportN's base-addr after the first write
    bool thirdWritten = true;
};

TEST(LinuxPortLater, ReportsEachByteNotWrittenAndTriesAgain) {
    const auto failures = [](std::deque<int> lock, std::deque<int> claim, std::deque<int> write,
                             std::deque<int> release, std::deque<int> node,
                             std::deque<int> open = {}) {
        FakeSystem system;
        system.lockResults = std::move(lock);
        system.claimResults = std::move(claim);
        system.writeResults = std::move(write);
        system.releaseResults = std::move(release);
        system.nodeResults = std::move(node);
        system.openResults = std::move(open);
        return system;
    };
    const Calls cycle2 = {"lock", "claim", "data 0x02", "release", "unlock"};
    const Calls cycle3 = {"lock", "claim", "data 0x03", "release", "unlock"};
    const Calls refused = {"lock", "claim", "unlock", "close 3"};
    const auto reopened = [](const Calls& cycle) {
        Calls calls = {"open /node"};
        calls.insert(calls.end(), cycle.begin(), cycle.end());
        return calls;
    };
    const LaterCase cases[] = {
        {"all written", failures({}, {}, {}, {}, {}), cycle2, cycle3, nullptr},
        {"another program holds the port", failures({}, {0, -ETIMEDOUT}, {}, {}, {}), refused,
         reopened(cycle3), [](const std::string&) { return PortBusyMessage(At888, 0x02, ""); }},
        {"the printer driver holds it", failures({}, {0, -ETIMEDOUT}, {}, {}, {}), refused,
         reopened(cycle3), [](const std::string&) { return PortBusyMessage(At888, 0x02, "lp0"); },
         "lp0"},
        {"a program holds it through ppdev", failures({}, {0, -EINTR}, {}, {}, {}), refused,
         reopened(cycle3),
         [](const std::string&) { return PortBusyMessage(At888, 0x02, "ppdev0"); }, "ppdev0"},
        {"another copy holds the lock too long",
         failures({0, -ETIMEDOUT}, {}, {}, {}, {}),
         {"lock"},
         cycle3,
         [](const std::string&) { return PortBusyMessage(At888, 0x02, ""); }},
        {"the lock cannot be taken at all",
         failures({0, -ENOLCK}, {}, {}, {}, {}),
         {"lock", "claim", "data 0x02", "release"},
         cycle3,
         nullptr},
        {"the claim fails", failures({}, {0, -EIO}, {}, {}, {}), refused, reopened(cycle3),
         [](const std::string& node) { return WriteFailedMessage(At888, node, 0x02, EIO); }},
        {"the write fails", failures({}, {}, {0, -EIO}, {}, {}), cycle2, cycle3,
         [](const std::string& node) { return WriteFailedMessage(At888, node, 0x02, EIO); }},
        {"the release fails: closed, which releases",
         failures({}, {}, {}, {0, -EINVAL}, {}),
         {"lock", "claim", "data 0x02", "release", "unlock", "close 3"},
         reopened(cycle3),
         nullptr},
        {"the port went away",
         failures({}, {}, {}, {}, {0, -ENOENT}, {3, -ENOENT}),
         {"close 3", "open /node"},
         reopened(cycle3),
         [](const std::string& node) { return PortGoneMessage(At888, node, 0x02); }},
        {"the port went away and is back", failures({}, {}, {}, {}, {0, -ESTALE}),
         Join({{"close 3"}, reopened(cycle2)}), cycle3, nullptr},
        {"the port is back at another node",
         failures({}, {}, {}, {}, {0, -ESTALE}),
         Join({{"close 3", "open /node1"}, cycle2}),
         cycle3,
         nullptr,
         nullptr,
         {"632", "888"}},
        {"another port stands at its node now",
         failures({}, {}, {}, {}, {0, -ESTALE}),
         {"close 3"},
         {},
         [](const std::string& node) { return PortGoneMessage(At888, node, 0x02); },
         nullptr,
         {"632"},
         false},
    };
    for (const LaterCase& c : cases) {
        testing::FakeParportTree tree;
        tree.addPort("parport0", "888\t0\n");
        if (c.holder != nullptr) {
            tree.setHolder("parport0", c.holder);
        }
        FakeSystem system = c.results;
        const std::string node = tree.node("parport0");
        LinuxPort port(system, tree.paths());
        port.PortOut(0x01);
        for (std::size_t n = 0; n < c.moved.size(); ++n) {
            tree.addPort("parport" + std::to_string(n), std::string(c.moved[n]) + "\t0\n");
        }
        system.calls.clear();
        try {
            port.PortOut(0x02);
            EXPECT_EQ(c.message, nullptr) << c.what << ": no failure reported";
        } catch (const PortWriteFailed& failure) {
            ASSERT_NE(c.message, nullptr) << c.what << ": " << failure.what();
            EXPECT_EQ(failure.what(), c.message(node)) << c.what;
        }
        const auto named = [&](Calls calls) {
            for (std::string& call : calls) {
                if (call == "open /node" || call == "open /node1") {
                    call = "open " + tree.node(call == "open /node" ? "parport0" : "parport1");
                }
            }
            return calls;
        };
        EXPECT_EQ(system.calls, named(c.second)) << c.what;
        system.calls.clear();
        if (c.thirdWritten) {
            EXPECT_NO_THROW(port.PortOut(0x03)) << c.what;
        } else {
            EXPECT_THROW(port.PortOut(0x03), PortWriteFailed) << c.what;
        }
        EXPECT_EQ(system.calls, named(c.third)) << c.what;
    }
}

TEST(LinuxPortLater, AFirstWriteWhileAnotherProgramHoldsThePortIsNotFatal) {
    testing::FakeParportTree tree;
    tree.addPort("parport0", "888\t0\n");
    FakeSystem system;
    system.claimResults = {-ETIMEDOUT};
    LinuxPort port(system, tree.paths());
    EXPECT_THROW(port.PortOut(0x01), PortWriteFailed);
    port.PortOut(0x02);
    const std::string open = "open " + tree.node("parport0");
    EXPECT_EQ(system.calls, (Calls{open, "lock", "claim", "unlock", "close 3", open, "lock",
                                   "claim", "data 0x02", "release", "unlock"}));
}

// Direct access only at a legacy address, only where a port may be there, and
// only as root (ioperm succeeds); never at another address.
struct DirectCase {
    const char* what;
    std::uint16_t address;
    bool pcDriver;   // parport_pc loaded
    bool registered; // the kernel lists a port there, without its /dev node
    bool root;
    bool ioperm; // direct access is tried
};

TEST(LinuxPortRules, WritesDirectlyOnlyWhereAParallelPortMayBe) {
    const DirectCase cases[] = {
        {"0x378, no driver, root", 0x378, false, false, true, true},
        {"0x378, no driver, user", 0x378, false, false, false, true},
        {"0x378, driver found nothing there, root", 0x378, true, false, true, false},
        {"0x378, driver found nothing there, user", 0x378, true, false, false, false},
        {"0x278, no driver, root", 0x278, false, false, true, true},
        {"0x3BC, no driver, root", 0x3BC, false, false, true, true},
        {"0x278, driver found nothing there, root", 0x278, true, false, true, false},
        {"the clock's 0x70, no driver, root", 0x70, false, false, true, false},
        {"the clock's 0x70, driver, root", 0x70, true, false, true, false},
        {"keyboard controller 0x64, root", 0x64, false, false, true, false},
        {"0x379, the status register, root", 0x379, false, false, true, false},
        {"a card's 0xD010, no driver, root", 0xD010, false, false, true, false},
        {"a card's 0xD010, no driver, user", 0xD010, false, false, false, false},
        {"0x278 registered, no ppdev, root", 0x278, true, true, true, true},
        {"0x278 registered, no ppdev, user", 0x278, true, true, false, true},
        {"0xD010 registered, no ppdev, root", 0xD010, true, true, true, false},
    };
    for (const DirectCase& c : cases) {
        testing::FakeParportTree tree;
        FakeSystem system;
        // A port elsewhere, which the messages must offer.
        tree.addPort("parport0", "57344\t0\n");
        if (c.registered) {
            tree.addPort("parport1", std::to_string(c.address) + "\t0\n");
            system.openResults = {-ENOENT};
        }
        if (c.pcDriver) {
            tree.loadPcDriver();
        }
        system.accessResult = c.root ? 0 : -EPERM;
        LinuxPort port(system, tree.paths(), IoAddress{c.address});

        Calls expected;
        if (c.registered) {
            expected.push_back("open " + tree.node("parport1"));
        }
        if (c.ioperm) {
            expected.push_back("ioperm " + Hex(c.address));
        }
        if (c.ioperm && c.root) {
            EXPECT_NO_THROW(port.PortOut(0x77)) << c.what;
            expected.push_back("outb " + Hex(c.address) + " 0x77");
        } else {
            const std::string name = PortName(IoAddress{c.address});
            const KnownPorts known = {ListParports(tree.paths()), {}, c.pcDriver};
            const std::string message =
                c.registered ? NoDeviceNodeMessage(name, "parport1", tree.node("parport1"))
                : c.ioperm   ? NoPortMessage(c.address, known, DirectRefusal::NeedsRoot)
                             : NoPortMessage(c.address, known, DirectRefusal::NotTried);
            try {
                port.PortOut(0x77);
                ADD_FAILURE() << c.what << ": wrote with no failure";
            } catch (const PortUnavailable& failure) {
                EXPECT_EQ(failure.what(), message) << c.what;
            }
        }
        EXPECT_EQ(system.calls, expected) << c.what;
    }
}

TEST(LinuxPortRules, ReachesThePortAtAnyAddressThroughItsDriver) {
    const struct {
        std::uint16_t address;
        const char* parport;
    } cases[] = {
        {0xD010, "parport1"}, {0x278, "parport2"}, {0xDC00, "parport3"}, {0x378, "parport0"}};
    for (const auto& c : cases) {
        testing::FakeParportTree tree;
        tree.addPort("parport0", "888\t1912\n");
        tree.addPort("parport1", "53264\t54288\n");
        tree.addPort("parport2", "632\t1656\n");
        tree.addPort("parport3", "56320\t0\n");
        tree.loadPcDriver();
        FakeSystem system; // as root: still through the driver
        {
            LinuxPort port(system, tree.paths(), IoAddress{c.address});
            port.PortOut(0x5B);
        }
        EXPECT_EQ(system.calls, (Calls{"open " + tree.node(c.parport), "lock", "claim", "data 0x5B",
                                       "release", "unlock", "close 3"}))
            << Hex(c.address);
    }
}

// A node the user named is that port or nothing: never direct access.
struct DeviceCase {
    const char* what;
    int openResult;
    std::string (*message)(const std::string& node); // nullptr: it writes
};

TEST(LinuxPortRules, UsesTheNamedDeviceOnly) {
    const DeviceCase cases[] = {
        {"opens", 3, nullptr},
        {"not in group lp", -EACCES,
         [](const std::string& node) { return PermissionDeniedMessage(node, node, NotInLp); }},
        {"gone", -ENOENT, NoDeviceMessage},
        {"left without ppdev", -ENXIO, NoDeviceMessage},
        {"busy", -EBUSY,
         [](const std::string& node) { return OpenFailedMessage(node, node, EBUSY); }},
    };
    for (const DeviceCase& c : cases) {
        testing::FakeParportTree tree;
        // A port at 0x378 too, which must not be used instead.
        tree.addPort("parport0", "888\t0\n");
        tree.addPort("parport1", "53264\t0\n");
        FakeSystem system;
        system.openResults = {c.openResult};
        const std::string node = tree.node("parport1");
        LinuxPort port(system, tree.paths(), DeviceNode{node});
        Calls expected = {"open " + node};
        if (c.message == nullptr) {
            port.PortOut(0x06);
            expected.insert(expected.end(), {"lock", "claim", "data 0x06", "release", "unlock"});
        } else {
            try {
                port.PortOut(0x06);
                ADD_FAILURE() << c.what << ": no failure reported";
            } catch (const PortUnavailable& failure) {
                EXPECT_EQ(failure.what(), c.message(node)) << c.what;
            }
        }
        EXPECT_EQ(system.calls, expected) << c.what;
    }
}

// --puerto with a path: a ppdev node, or what else it is.
TEST(LinuxSystemPorts, TakeAPathOnlyToAParallelPortDevice) {
    const struct {
        NodeKind kind;
        const char* error;
    } cases[] = {
        {NodeKind::ParallelPort, nullptr},
        {NodeKind::Missing, "/dev/parport1 no existe"},
        {NodeKind::NotCharacterDevice, "/dev/parport1 no es un dispositivo de caracteres"},
        {NodeKind::OtherCharacterDevice, "/dev/parport1 no es un puerto paralelo (ppdev)"},
        {NodeKind::UsbPrinter,
         "/dev/parport1 es un adaptador USB de impresora (controlador usblp)"},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.nodes["/dev/parport1"] = c.kind;
        LinuxSystemPorts ports(system);
        const auto read = ports.readChoice("/dev/parport1");
        if (c.error == nullptr) {
            ASSERT_TRUE(std::holds_alternative<PortChoice>(read));
            EXPECT_EQ(std::get<PortChoice>(read), PortChoice{DeviceNode{"/dev/parport1"}});
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.error;
            EXPECT_EQ(std::get<std::string>(read).rfind(c.error, 0), 0U)
                << std::get<std::string>(read);
        }
        EXPECT_TRUE(system.calls.empty()) << "reading P opened something";
    }
}

TEST(PortMessages, NameTheCauseAndTheRemedy) {
    struct Expectation {
        std::string message;
        std::vector<std::string> mentions;
        std::vector<std::string> absent = {};
    };
    const std::vector<Parport> at278 = {{"parport0", 0x278, "/dev/parport0"}};
    const std::vector<Parport> two = {{"parport0", 0x378, "/dev/parport0"},
                                      {"parport1", 0xD010, "/dev/parport1"}};
    const std::vector<Parport> usbBridge = {{"parport0", 0, "/dev/parport0"}};
    const std::vector<std::string> printer = {"/dev/usb/lp0"};
    const GroupAccess listed = {"lp", true, false};
    const GroupAccess inSession = {"lp", true, true};
    const KnownPorts noDriver = {{}, {}, false, KernelDriver::Absent};
    const KnownPorts unread = {{}, {}, false, KernelDriver::Unknown};
    const KnownPorts upgraded = {{}, {}, false, KernelDriver::Upgraded};
    const KnownPorts notInstalled = {{}, {}, false, KernelDriver::NotInstalled};
    FakeSystem system;
    using enum DirectRefusal;
    const Expectation expectations[] = {
        {NoPortMessage(DataPort, {}, NeedsRoot), {"0x378", "modprobe parport_pc", "BIOS", "root"}},
        {NoPortMessage(DataPort, {}, LockedDown),
         {"lockdown", "Secure Boot", "incluso al administrador", "modprobe parport_pc",
          "modprobe ppdev", "grupo lp"},
         {"solo el administrador"}},
        {NoPortMessage(DataPort, {}, NoIoPorts),
         {"no es un PC x86", "modprobe parport_pc", "grupo lp"},
         {"solo el administrador"}},
        {NoPortMessage(DataPort, {}, NoIoperm),
         {"este núcleo no permite", "CONFIG_X86_IOPL_IOPERM", "modprobe ppdev", "grupo lp"},
         {"no es un PC x86", "solo el administrador"}},
        {NoPortMessage(DataPort, noDriver, NoIoperm),
         {"CONFIG_X86_IOPL_IOPERM", "no tiene controlador de puertos paralelos",
          "CONFIG_PARPORT_PC"},
         {"sudo modprobe", "camino que sí funciona"}},
        {NoPortMessage(DataPort, noDriver, NeedsRoot),
         {"no tiene controlador de puertos paralelos", "solo el administrador"},
         {"sudo modprobe"}},
        {PortListing(noDriver, system),
         {"no conoce ningún puerto paralelo.\nEste núcleo no tiene controlador"},
         {"sudo modprobe"}},
        {PortListing(unread, system),
         {"No se ha podido saber si este núcleo tiene controlador", "sudo modprobe parport_pc"},
         {"Arranque un núcleo", "Reinicie"}},
        {PortListing(notInstalled, system),
         {"el módulo parport_pc no está entre sus módulos instalados", "sudo modprobe ppdev"},
         {"Arranque un núcleo"}},
        {NoPortMessage(DataPort, upgraded, NoIoperm),
         {"ya no están en /lib/modules", "Reinicie el ordenador", "sudo modprobe parport_pc",
          "camino que sí funciona"},
         {"Arranque un núcleo"}},
        {NoPortMessage(DataPort, {at278, {}, true}, NotTried),
         {"No se encuentra el puerto paralelo 0x378 (888).", "parport_pc) está cargado",
          "este puerto paralelo:\n    parport0 en 0x278 (/dev/parport0)\n",
          "\n    puerto-paralelo --puerto 0x278"},
         {"modprobe", "root"}},
        {NoPortMessage(DataPort, {{}, {}, true}, NotTried),
         {"no conoce ningún puerto paralelo", "BIOS"},
         {"modprobe"}},
        {NoPortMessage(0x70, {}, NotTried),
         {"0x70 (112)", "0x378, 0x278 y 0x3BC", "modprobe parport_pc"},
         {"root"}},
        {NoPortMessage(0x278, {two, {}, true}, NotTried),
         {"0x278 (632)",
          "estos puertos paralelos:\n    parport0 en 0x378 (/dev/parport0)\n"
          "    parport1 en 0xD010 (/dev/parport1)\n",
          "puerto-paralelo --puerto 0x378\n    puerto-paralelo --puerto 0xD010"}},
        {NoPortMessage(DataPort, {usbBridge, printer, true}, NotTried),
         {"parport0, sin dirección de E/S (/dev/parport0)",
          "puerto-paralelo --puerto /dev/parport0", "adaptador USB de impresora (/dev/usb/lp0)",
          "no pueden poner las líneas D0-D7"},
         {"0x0"}},
        {NoDeviceNodeMessage(At888, "parport0", "/dev/parport0"),
         {"0x378", "parport0", "/dev/parport0", "ppdev", "sudo modprobe ppdev"}},
        {NoDeviceMessage("/dev/parport1"), {"/dev/parport1", "ppdev", "--listar"}},
        {PermissionDeniedMessage(At888, "/dev/parport0", NotInLp),
         {"0x378", "/dev/parport0", "permiso", "grupo lp", "sudo adduser $USER lp"}},
        {PermissionDeniedMessage(At888, "/dev/parport0", listed),
         {"ya está en el grupo lp", "Cierre la sesión y vuelva a entrar"},
         {"adduser"}},
        {PermissionDeniedMessage(At888, "/dev/parport0", inSession),
         {"ya tiene el grupo lp", "módulo de seguridad", "ls -l /dev/parport0"},
         {"adduser", "Cierre la sesión"}},
        {OpenFailedMessage(At888, "/dev/parport0", EBUSY), {"0x378", "/dev/parport0", "errno 16"}},
        {ClaimFailedMessage(At888, "/dev/parport0", EIO),
         {"0x378", "/dev/parport0", "errno 5"},
         {"modprobe -r lp"}},
        {PortBusyMessage(At888, 0x06, ""),
         {"0x378 (888) está ocupado por otro programa", "no se ha escrito el byte 0x06"},
         {"modprobe"}},
        {PortBusyMessage(At888, 0x77, "ppdev1"),
         {"byte 0x77", "otro programa a través de /dev/parport1"},
         {"modprobe"}},
        {PortBusyMessage(At888, 0x77, "lp0"),
         {"byte 0x77", "controlador de impresora del sistema (lp0)", "sudo modprobe -r lp"}},
        {PortGoneMessage(At888, "/dev/parport0", 0x7F),
         {"0x378 (888) ha desaparecido", "byte 0x7F", "Ya no existe /dev/parport0"}},
        {WriteFailedMessage(At888, "/dev/parport0", 0xC8, EIO),
         {"byte 0xC8", "0x378 (888) (/dev/parport0)", "errno 5"}},
        {UsbPrinterExplanation("/dev/usb/lp0"),
         {"/dev/usb/lp0 es un adaptador USB de impresora", "usblp", "no puede manejar el display"}},
    };
    for (const Expectation& e : expectations) {
        for (const std::string& mention : e.mentions) {
            EXPECT_NE(e.message.find(mention), std::string::npos)
                << "\"" << mention << "\" missing from:\n"
                << e.message;
        }
        for (const std::string& wrong : e.absent) {
            EXPECT_EQ(e.message.find(wrong), std::string::npos)
                << "\"" << wrong << "\" misleads in:\n"
                << e.message;
        }
        // Each remedy is given once.
        for (const char* remedy : {"sudo modprobe parport_pc", "sudo modprobe ppdev"}) {
            const std::size_t first = e.message.find(remedy);
            EXPECT_TRUE(first == std::string::npos ||
                        e.message.find(remedy, first + 1) == std::string::npos)
                << "\"" << remedy << "\" twice in:\n"
                << e.message;
        }
    }
}

TEST(PortMessages, ListEachPortAndWhetherThisUserCanUseIt) {
    const KnownPorts known = {{{"parport0", 0x378, "/dev/parport0"},
                               {"parport1", 0x278, "/dev/parport1"},
                               {"parport2", 0xD010, "/dev/parport2"},
                               {"parport3", 0xDC00, "/dev/parport3"},
                               {"parport4", 0, "/dev/parport4"}},
                              {"/dev/usb/lp0"},
                              true};
    FakeSystem system;
    system.checkResults = {{"/dev/parport0", 0},
                           {"/dev/parport1", -EACCES},
                           {"/dev/parport3", -EROFS},
                           {"/dev/parport4", 0}}; // parport2 has no node
    EXPECT_EQ(PortListing(known, system),
              "parport0 en 0x378 (/dev/parport0): sí, puede usarlo\n"
              "parport1 en 0x278 (/dev/parport1): no, su usuario no tiene permiso: añádalo al "
              "grupo lp (sudo adduser $USER lp) y vuelva a entrar en la sesión\n"
              "parport2 en 0xD010 (/dev/parport2): no, falta /dev/parport2: cargue ppdev (sudo "
              "modprobe ppdev)\n"
              "parport3 en 0xDC00 (/dev/parport3): no, " +
                  std::string(std::strerror(EROFS)) +
                  " (errno 30)\n"
                  "parport4, sin dirección de E/S (/dev/parport4): sí, puede usarlo\n"
                  "/dev/usb/lp0: adaptador USB de impresora (usblp); no sirve para este "
                  "programa: envía trabajos de impresión y no puede poner D0-D7 a voluntad\n");
    EXPECT_TRUE(system.calls.empty()) << "listing opened or wrote something";

    // A refused node, as the group database and the session have it.
    const struct {
        GroupAccess group;
        const char* verdict;
    } refusals[] = {
        {{"lp", true, false}, "no todavía: su usuario ya está en el grupo lp, pero esta sesión no"},
        {{"lp", true, true}, "no, se lo impide algo más que el grupo lp"},
        {{"uucp", false, false}, "añádalo al grupo uucp (sudo adduser $USER uucp)"},
    };
    for (const auto& refusal : refusals) {
        system.group = refusal.group;
        const std::string listing = PortListing({{known.ports[1]}, {}, true}, system);
        EXPECT_NE(listing.find(refusal.verdict), std::string::npos) << listing;
    }

    const std::string none = PortListing({}, system);
    EXPECT_EQ(none.rfind("El sistema no conoce ningún puerto paralelo.\n", 0), 0U) << none;
    EXPECT_NE(none.find("sudo modprobe parport_pc"), std::string::npos) << none;
}

// The real flock and PPCLAIM (on a file, where ppdev's claim is refused) end
// whatever the deadline: past, a microsecond or some milliseconds ahead, while
// another descriptor holds the lock. A call still waiting after five seconds
// hangs: the holder then lets go, so that the test itself ends.
TEST(LinuxSystemCalls, WaitsEndWhateverTheDeadline) {
    using namespace std::chrono;
    std::string file = (std::filesystem::temp_directory_path() / "pp-lock-XXXXXX").string();
    const int made = ::mkstemp(file.data()); // a file of its own, never one found there
    ASSERT_GE(made, 0);
    ::close(made);
    LinuxSystemCalls system;
    const int holder = system.openDevice(file);
    const int waiter = system.openDevice(file);
    ASSERT_GE(holder, 0);
    ASSERT_GE(waiter, 0);
    // ppdev's claim on a plain file: the kernel refuses it (ENOTTY); QEMU's
    // user-mode emulator, which does not know ppdev's calls, with ENOSYS.
    const int refused = ::ioctl(waiter, PPCLAIM) == 0 ? 0 : -errno;
    ASSERT_TRUE(refused == -ENOTTY || refused == -ENOSYS) << refused;
    ASSERT_EQ(system.lockExclusive(holder, steady_clock::now() + seconds(1)), 0);
    const struct {
        const char* what;
        bool claim; // else the lock
        steady_clock::duration ahead;
        int result;
    } cases[] = {
        {"lock, deadline passed", false, -milliseconds(1), -ETIMEDOUT},
        {"lock, deadline now", false, nanoseconds(0), -ETIMEDOUT},
        {"lock, a microsecond ahead", false, microseconds(1), -ETIMEDOUT},
        {"lock, 20 ms ahead", false, milliseconds(20), -ETIMEDOUT},
        {"claim, deadline passed", true, -milliseconds(1), -ETIMEDOUT},
        {"claim, 20 ms ahead", true, milliseconds(20), refused},
    };
    for (const auto& c : cases) {
        const Deadline until = steady_clock::now() + c.ahead;
        auto call = std::async(std::launch::async, [&] {
            return c.claim ? system.claim(waiter, until) : system.lockExclusive(waiter, until);
        });
        if (call.wait_for(seconds(5)) == std::future_status::timeout) {
            ADD_FAILURE() << c.what << ": still waiting after 5 s";
            system.unlock(holder);
            call.wait();
            break;
        }
        EXPECT_EQ(call.get(), c.result) << c.what;
    }
    // Once free, a lock whose deadline has passed is still taken.
    system.unlock(holder);
    EXPECT_EQ(system.lockExclusive(waiter, steady_clock::now() - milliseconds(1)), 0);
    system.closeDevice(waiter);
    system.closeDevice(holder);
    std::filesystem::remove(file);
}

#if !defined(__x86_64__) && !defined(__i386__)
// On a machine that is not an x86 PC the real calls refuse direct access
// (there are no I/O ports to write), and the message says so and offers the
// kernel's driver. Built only there: on an x86 PC, run as root, the real
// calls would reach the port.
TEST(LinuxSystemCalls, RefuseDirectAccessWhereTheMachineHasNoIoPorts) {
    LinuxSystemCalls system;
    EXPECT_EQ(system.grantPortAccess(0x378), -ENODEV);
    testing::FakeParportTree tree;
    LinuxPort port(system, tree.paths());
    try {
        port.PortOut(0x77);
        ADD_FAILURE() << "a byte was written where there are no I/O ports";
    } catch (const PortUnavailable& failure) {
        const std::string message = failure.what();
        for (const char* said : {"no es un PC x86", "controlador del núcleo (ppdev)",
                                 "sudo modprobe parport_pc", "sudo modprobe ppdev"}) {
            EXPECT_NE(message.find(said), std::string::npos) << said << " missing from:\n"
                                                             << message;
        }
    }
}
#endif

} // namespace
} // namespace pp
