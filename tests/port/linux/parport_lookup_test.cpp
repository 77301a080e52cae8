#include "port/linux/parport_lookup.h"

#include "port/port_output.h"

#include "tests/port/linux/fake_parport_tree.h"

#include <gtest/gtest.h>
#include <zlib.h>

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

TEST(KernelParportDriver, AbsentOnlyOnEvidence) {
    using enum KernelDriver;
    const char* const pc =
        "kernel/drivers/parport/parport_pc.ko.xz: kernel/drivers/parport/parport.ko.xz\n";
    const char* const others = "kernel/fs/9p/9p.ko:\nkernel/drivers/usb/class/usblp.ko:\n";
    const char* const withPc = "CONFIG_PARPORT=m\nCONFIG_PARPORT_PC=m\n";
    const char* const withoutPc = "CONFIG_IKCONFIG=y\n# CONFIG_PARPORT is not set\n";
    const std::string longLine = "CONFIG_CMDLINE=\"" + std::string(600, 'x') + "\"\n" + withPc;
    // Its second piece, read on its own, begins as the setting would.
    const std::string settingInside = std::string(withoutPc) + "CONFIG_CMDLINE=\"" +
                                      std::string(495, 'x') + "CONFIG_PARPORT_PC=y\"\n";
    const char* const newer = "6.1.0-100-amd64";
    const struct {
        const char* loaded = nullptr;  // in /sys/module
        const char* dep = nullptr;     // the running kernel's modules.dep; nullptr: none
        const char* builtin = nullptr; // and its modules.builtin
        const char* gzipped = nullptr; // /proc/config.gz, compressed
        bool cut = false;              // /proc/config.gz cut short
        const char* boot = nullptr;    // /boot/config-RELEASE
        const char* other = nullptr;   // another kernel whose modules are installed
        KernelDriver expected = Present;
    } kernels[] = {
        {.dep = pc, .builtin = ""},
        {.dep = "kernel/drivers/parport/parport_pc.ko\n", .builtin = ""},
        {.dep = others, .builtin = "kernel/drivers/parport/parport_pc.ko\n"},
        {.loaded = "parport"},
        {.loaded = "parport_pc"},
        {.dep = others, .builtin = "", .expected = Absent},
        {.loaded = "ppdev",
         .dep = "",
         .builtin = "kernel/drivers/char/ppdev.ko\n",
         .expected = Absent},
        {.dep = others, .boot = withPc, .expected = NotInstalled},
        {.dep = pc, .boot = withoutPc}, // a module list naming it is enough
        // No module list: the configuration tells, compressed or plain.
        {.gzipped = withoutPc, .expected = Absent},
        {.boot = withoutPc, .other = newer, .expected = Absent},
        {.gzipped = withPc},
        {.gzipped = longLine.c_str()},
        {.gzipped = settingInside.c_str(), .expected = Absent},
        {.boot = "CONFIG_PARPORT_PC=y\n"},
        {.gzipped = withoutPc, .cut = true, .boot = withPc},
        {.gzipped = withoutPc, .cut = true, .expected = Unknown},
        {.gzipped = "not a configuration\n", .expected = Unknown},
        {.boot = "", .expected = Unknown},
        {.expected = Unknown},
        // This kernel's modules gone, another kernel's there.
        {.other = newer, .expected = Upgraded},
        {.boot = withPc, .other = newer, .expected = Upgraded},
    };
    for (const auto& kernel : kernels) {
        testing::FakeParportTree tree;
        if (kernel.loaded != nullptr) {
            tree.loadModule(kernel.loaded);
        }
        tree.removeKernelModules();
        for (const auto& [list, line] :
             {std::pair{"modules.dep", kernel.dep}, std::pair{"modules.builtin", kernel.builtin}}) {
            if (line != nullptr) {
                std::filesystem::create_directories(tree.kernelModulesDir());
                tree.listModules(list, line);
            }
        }
        if (kernel.gzipped != nullptr) {
            const std::filesystem::path config = tree.paths().procConfig;
            const gzFile out = gzopen(config.c_str(), "wb");
            ASSERT_NE(out, nullptr);
            gzputs(out, kernel.gzipped);
            gzclose(out);
            if (kernel.cut) {
                std::filesystem::resize_file(config, std::filesystem::file_size(config) - 8);
            }
        }
        if (kernel.boot != nullptr) {
            tree.writeBootConfig(kernel.boot);
        }
        if (kernel.other != nullptr) {
            tree.installKernel(kernel.other);
        }
        const auto text = [](const char* field) { return field != nullptr ? field : "-"; };
        EXPECT_EQ(KernelParportDriver(tree.paths()), kernel.expected)
            << text(kernel.loaded) << " | " << text(kernel.dep) << " | " << text(kernel.builtin)
            << " | " << text(kernel.gzipped) << (kernel.cut ? " (cut)" : "") << " | "
            << text(kernel.boot) << " | " << text(kernel.other);
    }
}

} // namespace
} // namespace pp
