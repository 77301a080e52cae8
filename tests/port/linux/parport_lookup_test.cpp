#include "port/linux/parport_lookup.h"

#include "port/port_output.h"

#include "tests/port/linux/fake_parport_tree.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace pp {
namespace {

struct LookupCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> ports; // name, base-addr
    std::optional<std::string> expected;
    std::uint16_t base = DataPort;
};

std::optional<std::string> Found(const testing::FakeParportTree& tree, std::uint16_t base) {
    const auto port = FindParport(ListParports(tree.paths()), base);
    if (!port) {
        return std::nullopt;
    }
    EXPECT_EQ(port->base, base);
    EXPECT_EQ(port->node, tree.node(port->name));
    return port->name;
}

TEST(FindParport, FindsThePortAtAnAddressAmongOthers) {
    const std::vector<std::pair<std::string, std::string>> cards = {{"parport0", "888\t1912\n"},
                                                                    {"parport1", "53264\t54288\n"},
                                                                    {"parport2", "632\t0\n"},
                                                                    {"parport3", "56320\t0\n"}};
    const LookupCase cases[] = {
        {"no port at all", {}, std::nullopt},
        {"the usual first port", {{"parport0", "888\t0\n"}}, "parport0"},
        {"only a second port", {{"parport0", "632\t0\n"}}, std::nullopt},
        {"888 is the second one",
         {{"parport0", "632\t0\n"}, {"parport1", "888\t1912\n"}},
         "parport1"},
        {"beside the default directory",
         {{"default", "888\n"}, {"parport2", "888\t0\n"}},
         "parport2"},
        {"two-digit numbers", {{"parport10", "888\t0\n"}, {"parport3", "956\t0\n"}}, "parport10"},
        {"lowest number wins", {{"parport7", "888\t0\n"}, {"parport1", "888\t0\n"}}, "parport1"},
        {"base given in hex is not decimal 888", {{"parport0", "0x378\t0\n"}}, std::nullopt},
        {"longer number that starts with 888", {{"parport0", "8880\t0\n"}}, std::nullopt},
        {"garbage in base-addr", {{"parport0", "none\n"}}, std::nullopt},
        {"empty base-addr", {{"parport0", ""}}, std::nullopt},
        {"name with a suffix", {{"parport0x", "888\t0\n"}}, std::nullopt},
        {"name without number", {{"parport", "888\t0\n"}}, std::nullopt},
        {"a PCI Express card at 0xD010", cards, "parport1", 0xD010},
        {"the second legacy port 0x278", cards, "parport2", 0x278},
        {"an ExpressCard at 0xDC00", cards, "parport3", 0xDC00},
        {"0xD010 is not the card's second field 0xD410", cards, std::nullopt, 0xD410},
        {"nothing at the clock's 0x70", cards, std::nullopt, 0x70},
        {"a card alone at 0xE000", {{"parport0", "57344\t58368\n"}}, "parport0", 0xE000},
    };
    for (const LookupCase& c : cases) {
        testing::FakeParportTree tree;
        for (const auto& [name, base] : c.ports) {
            tree.addPort(name, base);
        }
        EXPECT_EQ(Found(tree, c.base), c.expected) << c.what;
    }
}

TEST(FindParport, SkipsAPortWithoutBaseAddress) {
    testing::FakeParportTree tree;
    tree.addDirectory("parport0");
    tree.addPort("parport1", "888\t0\n");
    EXPECT_EQ(Found(tree, DataPort), "parport1");
}

TEST(FindParport, FindsNothingWhereTheKernelHasNoParportSupport) {
    ParportPaths paths;
    paths.procDir = "/nonexistent/proc/sys/dev/parport";
    EXPECT_EQ(FindParport(ListParports(paths), DataPort), std::nullopt);
    EXPECT_TRUE(ListParports(paths).empty());
}

TEST(ListParports, ListsEveryPortInTheOrderOfItsNumber) {
    testing::FakeParportTree tree;
    tree.addPort("parport10", "56320\t0\n");
    tree.addPort("parport2", "632\t0\n");
    tree.addPort("parport0", "888\t1912\n");
    tree.addPort("default", "888\n");
    tree.addDirectory("parport5"); // no base-addr: skipped
    const auto ports = ListParports(tree.paths());
    ASSERT_EQ(ports.size(), 3U);
    const std::pair<const char*, unsigned long> expected[] = {
        {"parport0", 0x378}, {"parport2", 0x278}, {"parport10", 0xDC00}};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].name, expected[i].first);
        EXPECT_EQ(ports[i].base, expected[i].second);
        EXPECT_EQ(ports[i].node, tree.node(expected[i].first));
    }
}

TEST(PcDriverLoaded, IsSeenInSysModule) {
    testing::FakeParportTree tree;
    EXPECT_FALSE(PcDriverLoaded(tree.paths()));
    tree.loadPcDriver();
    EXPECT_TRUE(PcDriverLoaded(tree.paths()));
}

TEST(KernelHasParportDriver, LoadedBuiltInOrAmongTheModules) {
    const struct {
        const char* loaded; // in /sys/module, or nullptr
        const char* dep;    // modules.dep
        const char* builtin;
        bool has;
    } kernels[] = {
        {nullptr, "kernel/drivers/parport/parport_pc.ko.xz: kernel/drivers/parport/parport.ko.xz\n",
         "", true},
        {nullptr, "kernel/drivers/parport/parport_pc.ko\n", "", true},
        {nullptr, "kernel/fs/9p/9p.ko:\n", "kernel/drivers/parport/parport_pc.ko\n", true},
        {"parport", "", "", true},
        {"parport_pc", "", "", true},
        {nullptr, "kernel/fs/9p/9p.ko:\nkernel/drivers/usb/class/usblp.ko:\n", "", false},
        {"ppdev", "", "kernel/drivers/char/ppdev.ko\n", false},
    };
    for (const auto& kernel : kernels) {
        testing::FakeParportTree tree;
        if (kernel.loaded != nullptr) {
            tree.loadModule(kernel.loaded);
        }
        tree.listModules("modules.dep", kernel.dep);
        tree.listModules("modules.builtin", kernel.builtin);
        EXPECT_EQ(KernelHasParportDriver(tree.paths()), kernel.has)
            << (kernel.loaded ? kernel.loaded : "") << " | " << kernel.dep << " | "
            << kernel.builtin;
    }
    ParportPaths none;
    none.moduleDir = "/nonexistent/sys/module";
    none.kernelModulesDir = "/nonexistent/lib/modules/0.0";
    EXPECT_FALSE(KernelHasParportDriver(none));
}

} // namespace
} // namespace pp
