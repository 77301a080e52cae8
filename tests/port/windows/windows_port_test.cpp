// The Windows port layer's logic, with Windows' calls faked: which addresses
// it writes to, when it loads InpOut x64, what it says when something is
// missing, and what --listar prints.
#include "port/windows/windows_messages.h"
#include "port/windows/windows_port.h"
#include "port/windows/windows_ports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pp {
namespace {

using Calls = std::vector<std::string>;

class FakeInpOut final : public InpOut {
public:
    FakeInpOut(Calls& calls, bool open) : calls_(calls), open_(open) {}
    void out32(std::uint16_t address, PortByte value) override {
        calls_.push_back("Out32 " + std::to_string(address) + " " + std::to_string(value));
    }
    bool driverOpen() override {
        calls_.push_back("IsInpOutDriverOpen");
        return open_;
    }

private:
    Calls& calls_;
    bool open_;
};

class FakeWindows final : public WindowsCalls {
public:
    std::vector<WindowsParport> ports;
    InpOutFailure failure = InpOutFailure::None;
    bool driverOpen = true;
    Calls calls;

    InpOutLoad loadInpOut() override {
        calls.emplace_back("load");
        InpOutLoad load;
        load.failure = failure;
        load.path = "C:\\Puerto Paralelo\\inpoutx64.dll";
        if (failure == InpOutFailure::None) {
            load.library = std::make_unique<FakeInpOut>(calls, driverOpen);
        }
        return load;
    }
    std::vector<WindowsParport> parallelPorts() override {
        calls.emplace_back("list");
        return ports;
    }
    std::string programFolder() override { return "C:\\Puerto Paralelo"; }
};

const WindowsParport Card = {
    "LPT3", "Puerto de impresora PCI ECP (LPT3)", {{0xE050, 0xE057}, {0xE040, 0xE043}}};

TEST(WindowsPort, WritesOnlyWhereAParallelPortIs) {
    const struct {
        std::uint16_t address;
        bool listed; // LPT3 in Windows' list
        bool writes;
    } cases[] = {
        {0x378, false, true},  {0x278, false, true}, {0x3BC, false, true},   {0xE050, true, true},
        {0xE057, true, true},  {0xE040, true, true}, {0xE050, false, false}, {0xE058, true, false},
        {0xD010, true, false}, {0x70, true, false},  {0x64, false, false},   {0x379, false, false},
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        if (c.listed) {
            windows.ports = {Card};
        }
        EXPECT_EQ(MayWriteOnWindows(c.address, windows.ports), c.writes) << c.address;
        WindowsPort port(windows, c.address);
        EXPECT_TRUE(windows.calls.empty()) << "touched Windows before the first write";
        Calls expected;
        if (!IsLegacyAddress(c.address)) {
            expected.emplace_back("list");
        }
        if (c.writes) {
            port.PortOut(0x77);
            port.PortOut(0x77);
            const std::string out = "Out32 " + std::to_string(c.address) + " 119";
            expected.insert(expected.end(), {"load", "IsInpOutDriverOpen", out, out});
        } else {
            try {
                port.PortOut(0x77);
                ADD_FAILURE() << c.address << ": wrote";
            } catch (const PortUnavailable& failure) {
                EXPECT_EQ(failure.what(), NoWindowsPortMessage(c.address, windows.ports));
            }
        }
        EXPECT_EQ(windows.calls, expected) << c.address;
    }
}

TEST(WindowsPort, SaysWhatIsMissingAndEnds) {
    const struct {
        InpOutFailure failure;
        bool driverOpen;
        std::vector<const char*> mentions;
    } cases[] = {
        {InpOutFailure::Missing,
         true,
         {"falta inpoutx64.dll", "https://www.highrez.co.uk/downloads/inpout32/", "carpeta x64",
          "    C:\\Puerto Paralelo\n", "como administrador"}},
        {InpOutFailure::NotX64,
         true,
         {"no es una biblioteca de Windows de 64 bits", "inpout32.dll"}},
        {InpOutFailure::NoOut32, true, {"no tiene la función Out32", "32 bits"}},
        {InpOutFailure::NoDriverCheck, true, {"no tiene la función IsInpOutDriverOpen"}},
        {InpOutFailure::LoadFailed, true, {"Windows no puede cargar", "(error 0)"}},
        {InpOutFailure::None,
         false,
         {"su controlador no está abierto", "«Ejecutar como administrador»"}},
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        windows.failure = c.failure;
        windows.driverOpen = c.driverOpen;
        WindowsPort port(windows, DataPort);
        std::string message;
        try {
            port.PortOut(0x06);
        } catch (const PortUnavailable& failure) {
            message = failure.what();
        }
        for (const char* mention : c.mentions) {
            EXPECT_NE(message.find(mention), std::string::npos) << mention << " in:\n" << message;
        }
        EXPECT_EQ(std::count_if(windows.calls.begin(), windows.calls.end(),
                                [](const std::string& call) { return call.starts_with("Out32"); }),
                  0);
    }
}

TEST(WindowsSystemPorts, ReadAddressesListPortsAndOpenLazily) {
    FakeWindows windows;
    WindowsSystemPorts ports(windows);
    EXPECT_EQ(std::get<PortChoice>(ports.readChoice("0xE050")), PortChoice{IoAddress{0xE050}});
    const auto mistake = std::get<std::string>(ports.readChoice("/dev/parport0"));
    EXPECT_NE(mistake.find("Administrador de dispositivos"), std::string::npos) << mistake;
    EXPECT_EQ(ports.listing(), "Windows no conoce ningún puerto paralelo. Compruebe en el "
                               "Administrador de dispositivos, en «Puertos (COM y LPT)», que el "
                               "puerto aparece y que su controlador está instalado.\n");
    windows.ports = {{"LPT1", "Puerto de impresora (LPT1)", {{0x378, 0x37F}}},
                     Card,
                     {"LPT4", "Puerto de impresora USB (LPT4)", {}}};
    EXPECT_EQ(ports.listing(), "LPT1 en 0x378 (Puerto de impresora (LPT1))\n"
                               "LPT3 en 0xE050 (Puerto de impresora PCI ECP (LPT3)), E/S "
                               "0xE050-0xE057, 0xE040-0xE043\n"
                               "LPT4, sin dirección de E/S (Puerto de impresora USB (LPT4))\n");
    const std::string refused = NoWindowsPortMessage(0xD010, windows.ports);
    EXPECT_NE(refused.find("No se encuentra el puerto paralelo 0xD010 (53264)."),
              std::string::npos);
    EXPECT_NE(
        refused.find("    puerto-paralelo --puerto 0x378\n    puerto-paralelo --puerto 0xE050"),
        std::string::npos)
        << refused;
    windows.calls.clear();
    const auto port = ports.open(IoAddress{0xE050});
    EXPECT_TRUE(windows.calls.empty());
    port->PortOut(0xC8);
    EXPECT_EQ(windows.calls.back(), "Out32 57424 200");
}

} // namespace
} // namespace pp
