// The command line of both programs, without a display: what each command
// line prints, where, and with which exit status, or which port it chooses.
#include "ui/command_line.h"
#include "ui/qt/window_failure.h"

#include "port/linux/linux_ports.h"
#include "tests/port/linux/fake_parport_tree.h"
#include "tests/port/linux/fake_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace pp {
namespace {

struct LineCase {
    std::vector<std::string> args;
    int status;          // -1: the window opens on `port`
    PortChoice port;     // when the window opens
    const char* printed; // part of standard output (status 0)
    const char* mistake; // part of standard error (status 2)
    Program program = Program::PuertoParalelo;
};

struct Outcome {
    std::variant<PortChoice, int> start;
    std::string out, err;
};

class CommandLineTest : public ::testing::Test {
protected:
    CommandLineTest() {
        tree.addPort("parport0", "888\t1912\n");
        tree.addPort("parport1", "53264\t54288\n");
        system.nodes[tree.node("parport1")] = NodeKind::ParallelPort;
        printer = tree.addUsbPrinter("lp0");
        system.nodes["/etc/passwd"] = NodeKind::NotCharacterDevice;
        system.nodes["/dev/null"] = NodeKind::OtherCharacterDevice;
        system.nodes["/dev/usb/lp0"] = NodeKind::UsbPrinter;
        system.checkResults[tree.node("parport0")] = 0;
        system.checkResults[tree.node("parport1")] = -EACCES;
    }

    Outcome run(std::vector<std::string> args, Program program) {
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        std::ostringstream out, err;
        StreamWriter outText(out), errText(err);
        LinuxSystemPorts ports(system, tree.paths());
        auto start = ReadCommandLine(argv, program, ports, outText, errText);
        return {start, out.str(), err.str()};
    }

    testing::FakeParportTree tree;
    testing::FakeSystem system;
    std::string printer;
};

TEST_F(CommandLineTest, ChoosesThePortOrPrintsWhatWasAskedOrWhatIsWrong) {
    const std::string card = tree.node("parport1");
    const LineCase cases[] = {
        {{}, -1, {}, nullptr, nullptr},
        {{"--puerto", "0xD010"}, -1, IoAddress{0xD010}, nullptr, nullptr},
        {{"--puerto", "0xd010"}, -1, IoAddress{0xD010}, nullptr, nullptr},
        {{"--puerto=53264"}, -1, IoAddress{0xD010}, nullptr, nullptr},
        {{"--puerto", "0x278"}, -1, IoAddress{0x278}, nullptr, nullptr},
        {{"--puerto", "0x70"}, -1, IoAddress{0x70}, nullptr, nullptr},
        {{"--puerto", card}, -1, DeviceNode{card}, nullptr, nullptr},
        {{"--puerto", "0xD010"}, -1, IoAddress{0xD010}, nullptr, nullptr, Program::Demo},
        {{"--help"}, 0, {}, "Uso: puerto-paralelo [--puerto P] [--listar]", nullptr},
        {{"-h"}, 0, {}, "\n  $ puerto-paralelo --puerto 0xD010\n", nullptr},
        {{"--help", "--puerto", "abc"}, 0, {}, "PCI Express", nullptr},
        {{"--help"}, 0, {}, "Uso: puerto-paralelo-demo [--puerto P]", nullptr, Program::Demo},
        {{"--version"}, 0, {}, "puerto-paralelo " PP_VERSION "\n", nullptr},
        {{"--version"}, 0, {}, "puerto-paralelo-demo " PP_VERSION "\n", nullptr, Program::Demo},
        {{"--listar"}, 0, {}, "parport1 en 0xD010 (", nullptr},
        {{"--bogus"}, 2, {}, nullptr, "puerto-paralelo: opción desconocida: --bogus.\n"},
        {{"--help", "--bogus"}, 2, {}, nullptr, "opción desconocida: --bogus"},
        {{"-p", "0x378"}, 2, {}, nullptr, "opción desconocida: -p"},
        {{"--puerto"}, 2, {}, nullptr, "falta el puerto después de --puerto"},
        {{"--puerto", "0x10000"}, 2, {}, nullptr, "«0x10000» está fuera"},
        {{"--puerto", "-1"}, 2, {}, nullptr, "«-1» no es un puerto"},
        {{"--puerto", "abc"}, 2, {}, nullptr, "«abc» no es un puerto"},
        {{"--puerto", "0x"}, 2, {}, nullptr, "«0x» no es un puerto"},
        {{"--puerto="}, 2, {}, nullptr, "«» no es un puerto"},
        {{"--puerto", "/etc/passwd"}, 2, {}, nullptr, "no es un dispositivo de caracteres"},
        {{"--puerto", "/dev/null"}, 2, {}, nullptr, "no es un puerto paralelo (ppdev)"},
        {{"--puerto", "/dev/usb/lp0"}, 2, {}, nullptr, "es un adaptador USB de impresora"},
        {{"-platform", "offscreen"}, -1, {}, nullptr, nullptr},
        {{"--platform", "xcb", "--puerto", "0xD010"}, -1, IoAddress{0xD010}, nullptr, nullptr},
        {{"-session", "10d2e3f_42", "-style=Fusion", "-reverse"}, -1, {}, nullptr, nullptr},
        {{"-display", ":1", "-stylesheet", "a.qss", "-name", "x"}, -1, {}, nullptr, nullptr},
        {{"-style", "--listar"}, -1, {}, nullptr, nullptr},
        {{"-platform"}, 2, {}, nullptr, "falta el valor después de -platform"},
        {{"-plataforma", "x"}, 2, {}, nullptr, "opción desconocida: -plataforma"},
        {{"-session=1"}, 2, {}, nullptr, "opción desconocida: -session=1"},
        {{"--puerto", "/dev/parport7"}, 2, {}, nullptr, "/dev/parport7 no existe"},
        {{"--listar", "--puerto", "abc"}, 2, {}, nullptr, "«abc» no es un puerto"},
        {{"--puerto", "1", "--puerto", "2"}, 2, {}, nullptr, "--puerto aparece más de una vez"},
        {{"0x378"}, 2, {}, nullptr, "argumento de más: «0x378»"},
        {{"--listar=si"}, 2, {}, nullptr, "--listar no lleva ningún valor"},
        {{"--puerto", "abc"}, 2, {}, nullptr, "puerto-paralelo-demo: «abc»", Program::Demo},
    };
    for (const LineCase& c : cases) {
        std::string what;
        for (const std::string& arg : c.args) {
            what += arg + " ";
        }
        const Outcome outcome = run(c.args, c.program);
        if (c.status < 0) {
            ASSERT_TRUE(std::holds_alternative<PortChoice>(outcome.start)) << what;
            EXPECT_EQ(std::get<PortChoice>(outcome.start), c.port) << what;
            EXPECT_EQ(outcome.out + outcome.err, "") << what;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<int>(outcome.start)) << what;
        EXPECT_EQ(std::get<int>(outcome.start), c.status) << what;
        if (c.status == 0) {
            EXPECT_NE(outcome.out.find(c.printed), std::string::npos) << what << outcome.out;
            EXPECT_EQ(outcome.err, "") << what;
        } else {
            EXPECT_NE(outcome.err.find(c.mistake), std::string::npos) << what << outcome.err;
            // The mistake, then the usage and where to read more.
            const std::string name =
                c.program == Program::Demo ? "puerto-paralelo-demo" : "puerto-paralelo";
            EXPECT_EQ(outcome.err.rfind(name + ": ", 0), 0U) << what << outcome.err;
            const std::string tail = "\nUso: " + name +
                                     " [--puerto P] [--listar] [--help] [--version]\n"
                                     "Más información: " +
                                     name + " --help\n";
            EXPECT_TRUE(outcome.err.ends_with(tail)) << what << outcome.err;
            EXPECT_EQ(outcome.out, "") << what;
        }
    }
    EXPECT_TRUE(system.calls.empty()) << "the command line opened or wrote something";
}

TEST_F(CommandLineTest, ListsThePortsThatTheKernelKnowsAndNothingElse) {
    const Outcome outcome = run({"--listar"}, Program::PuertoParalelo);
    EXPECT_EQ(outcome.out,
              "parport0 en 0x378 (" + tree.node("parport0") + "): sí, puede usarlo\n" +
                  "parport1 en 0xD010 (" + tree.node("parport1") +
                  "): no, su usuario no tiene permiso: añádalo al grupo lp (sudo adduser $USER "
                  "lp) y vuelva a entrar en la sesión\n" +
                  printer +
                  ": adaptador USB de impresora (usblp); no sirve para este programa: "
                  "envía trabajos de impresión y no puede poner D0-D7 a voluntad\n");
    EXPECT_TRUE(system.calls.empty());
}

TEST_F(CommandLineTest, HelpFitsAnEightyColumnTerminal) {
    for (const Program program : {Program::PuertoParalelo, Program::Demo}) {
        std::istringstream help(run({"--help"}, program).out);
        for (std::string line; std::getline(help, line);) {
            // Counted in characters, not in the bytes of UTF-8.
            const auto characters = std::count_if(line.begin(), line.end(), [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            });
            EXPECT_LE(characters, 80) << line;
        }
    }
}

// What Qt says when the window cannot open, and what the user reads.
TEST(WindowFailure, TellsNoDisplayFromAPluginThatCannotLoad) {
    const std::string failed = "This application failed to start because no Qt platform plugin "
                               "could be initialized.";
    const struct {
        const char* display;
        std::vector<std::string> said;
        std::vector<const char*> mentions;
        std::vector<const char*> absent = {};
    } cases[] = {
        {"", {"could not connect to display ", failed}, {"no hay ninguna pantalla gráfica"}},
        {":0",
         {"could not connect to display :0",
          "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.",
          failed},
         {"no hay ninguna pantalla gráfica"}},
        {":0",
         {"From 6.5.0, xcb-cursor0 or libxcb-cursor0 is needed to load the Qt xcb platform plugin.",
          "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.",
          failed},
         {"puerto-paralelo: no se puede abrir la ventana: hay una pantalla gráfica (:0)", "(«xcb»)",
          "sudo apt install libxcb-cursor0", "Detalle: This application failed"}},
        {"wayland-0",
         {"Could not find the Qt platform plugin \"wayland\" in \"\"", failed},
         {"hay una pantalla gráfica (wayland-0)", "sudo apt install qt6-wayland"}},
        {":1",
         {"Cannot load library /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so: "
          "(libxcb-xinerama.so.0: cannot open shared object file: No such file or directory)",
          "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.",
          failed},
         {"Falta la biblioteca libxcb-xinerama.so.0."}},
        {":1",
         {"Could not find the Qt platform plugin \"xcb\" in \"/tmp/x\"", failed},
         {"(«xcb»)", "--reinstall", "-platform wayland"}},
    };
    for (const auto& c : cases) {
        const std::string message = WindowFailureMessage("puerto-paralelo", c.display, c.said);
        for (const char* mention : c.mentions) {
            EXPECT_NE(message.find(mention), std::string::npos) << mention << " in:\n" << message;
        }
        for (const char* wrong : c.absent) {
            EXPECT_EQ(message.find(wrong), std::string::npos) << wrong << " in:\n" << message;
        }
    }
}

} // namespace
} // namespace pp
