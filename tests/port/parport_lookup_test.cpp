#include "port/parport_lookup.h"

#include "port/port_output.h"

#include "tests/port/fake_parport_tree.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace pp {
namespace {

struct LookupCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> ports; // name, base-addr
    std::optional<std::string> expected;
};

TEST(FindParport, FindsThePortAt888AmongOthers) {
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
    };
    for (const LookupCase& c : cases) {
        testing::FakeParportTree tree;
        for (const auto& [name, base] : c.ports) {
            tree.addPort(name, base);
        }
        EXPECT_EQ(FindParport(tree.procDir(), DataPort), c.expected) << c.what;
    }
}

TEST(FindParport, SkipsAPortWithoutBaseAddress) {
    testing::FakeParportTree tree;
    tree.addDirectory("parport0");
    tree.addPort("parport1", "888\t0\n");
    EXPECT_EQ(FindParport(tree.procDir(), DataPort), "parport1");
}

TEST(FindParport, FindsNothingWhereTheKernelHasNoParportSupport) {
    EXPECT_EQ(FindParport("/nonexistent/proc/sys/dev/parport", DataPort), std::nullopt);
}

} // namespace
} // namespace pp
