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

const WindowsParport Lpt1 = {"LPT1", "Puerto de impresora (LPT1)", {{0x378, 0x37F}}};
const WindowsParport Card = {
    "LPT3", "Puerto de impresora PCI ECP (LPT3)", {{0xE050, 0xE057}, {0xE040, 0xE043}}};

class FakeWindows final : public WindowsCalls {
public:
    WindowsPortList ports = std::vector<WindowsParport>{Lpt1};
    InpOutFailure failure = InpOutFailure::None;
    bool driverOpen = true;
    InpOutState state;
    Calls calls;

    InpOutLoad loadInpOut() override {
        calls.emplace_back("load");
        InpOutLoad load;
        load.edition = state.edition;
        load.failure = failure;
        load.path = "C:\\Puerto Paralelo\\" + std::string(state.edition.library);
        if (failure == InpOutFailure::None) {
            load.library = std::make_unique<FakeInpOut>(calls, driverOpen);
        }
        return load;
    }
    WindowsPortList parallelPorts() override {
        calls.emplace_back("list");
        return ports;
    }
    InpOutState inpOutState() override { return state; }
    std::string programFolder() override { return "C:\\Puerto Paralelo"; }
    std::string systemFolder() override { return "C:\\Windows\\system32"; }
};

// Windows' device list: unreadable, empty, a card, LPT1 and the card.
const WindowsPortList Unreadable;
const WindowsPortList NoPorts = std::vector<WindowsParport>{};
const WindowsPortList CardOnly = std::vector<WindowsParport>{Card};
const WindowsPortList Both = std::vector<WindowsParport>{Lpt1, Card};

TEST(WindowsPort, WritesOnlyToTheDataRegisterOfAPortWindowsLists) {
    const struct {
        std::uint16_t address;
        const WindowsPortList& list;
        const char* refusal; // what the refusal says, or nullptr where it writes
    } cases[] = {
        {0x378, Both, nullptr},
        {0x378, CardOnly, "    puerto-paralelo --puerto 0xE050"},
        {0x378, NoPorts, "en la configuración de la BIOS"},
        {0x378, Unreadable, nullptr},
        {0x278, Unreadable, nullptr},
        {0x3BC, Unreadable, nullptr},
        {0x278, Both, "--puerto 0x378\n    puerto-paralelo --puerto 0xE050"},
        {0xE050, CardOnly, nullptr},
        {0xE057, CardOnly, "--puerto 0xE050"},
        {0xE040, CardOnly, "--puerto 0xE050"},
        {0x37A, Both, "    puerto-paralelo --puerto 0x378\n"},
        {0x37F, Both, "No se encuentra el puerto paralelo 0x37F (895)."},
        {0xE050, Unreadable, "no ha podido dar su lista de dispositivos"},
        {0xE058, CardOnly, "--puerto 0xE050"},
        {0xD010, Both, "No se encuentra el puerto paralelo 0xD010 (53264)."},
        {0x70, CardOnly, "--puerto 0xE050"},
        {0x64, Unreadable, "0x378, 0x278 y 0x3BC"},
        {0x379, Unreadable, "0x378, 0x278 y 0x3BC"},
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        windows.ports = c.list;
        EXPECT_EQ(MayWriteOnWindows(c.address, windows.ports), c.refusal == nullptr) << c.address;
        WindowsPort port(windows, c.address);
        EXPECT_TRUE(windows.calls.empty()) << "touched Windows before the first write";
        Calls expected = {"list"};
        if (c.refusal == nullptr) {
            port.PortOut(0x77);
            port.PortOut(0x77);
            const std::string out = "Out32 " + std::to_string(c.address) + " 119";
            expected.insert(expected.end(), {"load", "IsInpOutDriverOpen", out, out});
        } else {
            try {
                port.PortOut(0x77);
                ADD_FAILURE() << c.address << ": wrote";
            } catch (const PortUnavailable& failure) {
                EXPECT_NE(std::string(failure.what()).find(c.refusal), std::string::npos)
                    << c.refusal << " in:\n"
                    << failure.what();
            }
        }
        EXPECT_EQ(windows.calls, expected) << c.address;
    }
}

// Memory Integrity, the blocklist, elevation and the driver's service.
// The blocklist is its switch; Windows' build and Smart App Control follow.
InpOutState driver(Protection integrity, Protection blocklist, bool elevated, DriverService service,
                   unsigned long error = 0, unsigned long build = 0,
                   Protection smartAppControl = Protection::Unknown) {
    InpOutState state;
    state.memoryIntegrity = integrity;
    state.blocklist = blocklist;
    state.elevated = elevated;
    state.service = service;
    state.serviceError = error;
    state.windowsBuild = build;
    state.smartAppControl = smartAppControl;
    return state;
}
// The 32-bit build with InpOut32 on 32-bit Windows 7.
InpOutState on32(InpOutState state) {
    state.edition = InpOut32;
    state.windows64 = false;
    state.windowsBuild = 7601;
    return state;
}
// The 32-bit build on Windows XP (build 2600).
InpOutState onXp(InpOutState state) {
    state = on32(state);
    state.windowsBuild = 2600;
    return state;
}
constexpr auto On = Protection::On;
constexpr auto Off = Protection::Off;
constexpr auto Unknown = Protection::Unknown;

TEST(WindowsPort, SaysWhatIsMissingAndEnds) {
    const char* const HowToTurnOff = "Seguridad de Windows › Seguridad del dispositivo › "
                                     "Aislamiento del núcleo › ";
    const char* const AsAdministrator = "«Ejecutar como administrador»";
    const struct {
        InpOutFailure failure;
        bool driverOpen;
        InpOutState state;
        std::vector<const char*> mentions;
        std::vector<const char*> absent = {};
    } cases[] = {
        {InpOutFailure::Missing,
         true,
         {},
         {"falta inpoutx64.dll", "https://www.highrez.co.uk/downloads/inpout32/", "carpeta x64",
          "    C:\\Puerto Paralelo\n", "C:\\Windows\\system32", "como administrador"}},
        {InpOutFailure::OtherMachine,
         true,
         {},
         {"no es una biblioteca de Windows de 64 bits", "inpout32.dll"}},
        {InpOutFailure::Missing,
         true,
         on32({}),
         {"falta inpout32.dll", "versión de 32 bits", "Descargue InpOut32", "carpeta Win32",
          "    C:\\Puerto Paralelo\n", "C:\\Windows\\system32"},
         {"inpoutx64"}},
        {InpOutFailure::OtherMachine,
         true,
         on32({}),
         {"no es una biblioteca de Windows de 32 bits", "inpoutx64.dll, la de 64 bits"}},
        {InpOutFailure::NoOut32, true, on32({}), {"no es InpOut32, o es la versión de 64 bits"}},
        {InpOutFailure::NoOut32, true, {}, {"no tiene la función Out32", "32 bits"}},
        {InpOutFailure::NoDriverCheck, true, {}, {"no tiene la función IsInpOutDriverOpen"}},
        {InpOutFailure::LoadFailed, true, {}, {"Windows no puede cargar", "(error 0)"}},
        {InpOutFailure::None,
         false,
         driver(Off, Unknown, false, DriverService::Missing),
         {"su controlador no está abierto", "La primera vez", AsAdministrator}},
        {InpOutFailure::None,
         false,
         driver(Unknown, Off, false, DriverService::Stopped),
         {"está instalado, pero parado", "una vez como administrador", AsAdministrator}},
        {InpOutFailure::None,
         false,
         driver(On, On, false, DriverService::Stopped),
         {"La integridad de memoria de Windows está activada", "Integridad de memoria",
          HowToTurnOff, "reiniciar el PC", "baja la protección", "(ppdev)"}},
        {InpOutFailure::None,
         false,
         driver(On, Unknown, false, DriverService::Missing),
         {"integridad de memoria", "Luego abra el programa una vez como administrador"}},
        {InpOutFailure::None,
         false,
         driver(Off, On, true, DriverService::Stopped, 1275),
         {"lista de bloqueo de controladores vulnerables", HowToTurnOff, "(error 1275)",
          "reiniciar el PC", "baja la protección", "(ppdev)"}},
        {InpOutFailure::None,
         false,
         driver(Off, Off, true, DriverService::Stopped, 577),
         {"se ha abierto como administrador", "algo lo impide", "antivirus", "(error 577)",
          "CodeIntegrity › Operational"}},
        {InpOutFailure::None,
         false,
         driver(Off, On, true, DriverService::Running),
         {"algo lo impide", "está en marcha"}},
        {InpOutFailure::None,
         false,
         driver(Unknown, Unknown, true, DriverService::Missing),
         {"algo lo impide", "no está instalado"}},
        {InpOutFailure::None,
         false,
         driver(Off, Unknown, true, DriverService::Stopped, 0, 22621),
         {"lista de bloqueo de controladores vulnerables de Microsoft está activada (esta versión "
          "de Windows la trae activada)",
          HowToTurnOff}},
        {InpOutFailure::None,
         false,
         driver(Off, Unknown, true, DriverService::Stopped, 0, 19045),
         {"algo lo impide"}},
        {InpOutFailure::None,
         false,
         onXp(driver(Unknown, Unknown, true, DriverService::Unknown)),
         {"algo lo impide", "antivirus"},
         {"CodeIntegrity", "integridad de memoria"}},
        {InpOutFailure::None,
         false,
         driver(Off, Off, true, DriverService::Stopped, 0, 26100, On),
         {"Smart App Control", "Control inteligente de aplicaciones", "sin reinstalarse",
          "Lista de bloqueo de controladores vulnerables de Microsoft y reinicie el PC"}},
        {InpOutFailure::None,
         false,
         driver(On, Unknown, true, DriverService::Stopped, 0, 22621, On),
         {"La integridad de memoria de Windows está activada", "mantiene además activada la lista",
          "desactive también, en el mismo sitio, la lista de bloqueo"}},
        {InpOutFailure::None,
         false,
         on32(driver(Unknown, Unknown, false, DriverService::Unknown)),
         {"InpOut32 está (C:\\Puerto Paralelo\\inpout32.dll)", AsAdministrator,
          "instale su controlador o lo ponga en marcha"},
         {"el servicio", "integridad", "lista de bloqueo"}},
        {InpOutFailure::None,
         false,
         on32(driver(On, On, true, DriverService::Unknown)),
         {"algo lo impide", "CodeIntegrity"},
         {"el servicio", "integridad de memoria", "lista de bloqueo"}},
        {InpOutFailure::None,
         false,
         onXp(driver(Unknown, Unknown, false, DriverService::Unknown)),
         {"«Ejecutar como…», y elija una cuenta de administrador"},
         {AsAdministrator}},
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        windows.failure = c.failure;
        windows.driverOpen = c.driverOpen;
        windows.state = c.state;
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
        for (const char* wrong : c.absent) {
            EXPECT_EQ(message.find(wrong), std::string::npos) << wrong << " in:\n" << message;
        }
        EXPECT_EQ(std::count_if(windows.calls.begin(), windows.calls.end(),
                                [](const std::string& call) { return call.starts_with("Out32"); }),
                  0);
    }
}

// --listar's line for the blocklist: what Windows enforces, and why where
// its switch does not say so.
TEST(WindowsPort, ReadsTheBlocklistAsWindowsEnforcesIt) {
    const struct {
        Protection integrity;
        Protection smartAppControl;
        Protection blocklist; // the switch; Unknown: never set
        unsigned long build;
        const char* line;
    } cases[] = {
        {Off, Unknown, Unknown, 22621, "activada (esta versión de Windows la trae activada)"},
        {Off, Off, Unknown, 26100, "activada (esta versión de Windows la trae activada)"},
        {Off, Unknown, Unknown, 19045, "desactivada"},
        {Off, Unknown, Unknown, 0, "no se sabe (Windows no lo dice)"},
        {Unknown, Unknown, Unknown, 19045, "no se sabe (Windows no lo dice)"},
        {Off, Unknown, Off, 22621, "desactivada"},
        {Off, Unknown, On, 19045, "activada"},
        {On, Unknown, Off, 22621, "activada (la mantiene la integridad de memoria)"},
        {On, Unknown, Unknown, 22621, "activada (la mantiene la integridad de memoria)"},
        {Off, On, Off, 22631, "activada (la mantiene el control inteligente de aplicaciones)"},
    };
    for (const auto& c : cases) {
        InpOutState state = driver(c.integrity, c.blocklist, false, DriverService::Running, 0,
                                   c.build, c.smartAppControl);
        const std::string listing = WindowsPortListing(NoPorts, state);
        const std::string line =
            std::string("\nLista de bloqueo de controladores vulnerables: ") + c.line + "\n";
        EXPECT_NE(listing.find(line), std::string::npos) << line << " in:\n" << listing;
    }
}

TEST(WindowsSystemPorts, ReadAddressesListPortsAndOpenLazily) {
    FakeWindows windows;
    WindowsSystemPorts ports(windows);
    EXPECT_EQ(std::get<PortChoice>(ports.readChoice("0xE050")), PortChoice{IoAddress{0xE050}});
    const auto mistake = std::get<std::string>(ports.readChoice("/dev/parport0"));
    EXPECT_NE(mistake.find("Administrador de dispositivos"), std::string::npos) << mistake;
    windows.ports = NoPorts;
    windows.state.service = DriverService::Missing;
    EXPECT_EQ(ports.listing(), "Windows no conoce ningún puerto paralelo. Compruebe en el "
                               "Administrador de dispositivos, en «Puertos (COM y LPT)», que el "
                               "puerto aparece y que su controlador está instalado, y en la BIOS "
                               "(o UEFI) del PC que está activado.\n"
                               "inpoutx64.dll: falta (ni en la carpeta del programa ni en la del "
                               "sistema)\n"
                               "Controlador de InpOut (servicio inpoutx64): no está instalado\n"
                               "Integridad de memoria: no se sabe (Windows no lo dice)\n"
                               "Lista de bloqueo de controladores vulnerables: no se sabe "
                               "(Windows no lo dice)\n");
    // The data register is the range with the ECP range 0x400 above it,
    // whichever Windows lists first and whatever their sizes, else the 8-byte
    // range.
    windows.ports = std::vector<WindowsParport>{
        {"LPT1", "Puerto de impresora (LPT1)", {{0x778, 0x77B}, {0x378, 0x37B}}},
        {"LPT3", "Puerto de impresora PCI ECP (LPT3)", {{0xE040, 0xE043}, {0xE050, 0xE057}}},
        {"LPT4", "Puerto de impresora USB (LPT4)", {}}};
    windows.state = driver(On, Off, false, DriverService::Stopped);
    windows.state.library = "C:\\Windows\\system32\\inpoutx64.dll";
    EXPECT_EQ(ports.listing(), "LPT1 en 0x378 (Puerto de impresora (LPT1)), E/S 0x778-0x77B, "
                               "0x378-0x37B\n"
                               "LPT3 en 0xE050 (Puerto de impresora PCI ECP (LPT3)), E/S "
                               "0xE040-0xE043, 0xE050-0xE057\n"
                               "LPT4, sin dirección de E/S (Puerto de impresora USB (LPT4))\n"
                               "inpoutx64.dll: C:\\Windows\\system32\\inpoutx64.dll\n"
                               "Controlador de InpOut (servicio inpoutx64): está instalado, pero "
                               "parado\n"
                               "Integridad de memoria: activada\n"
                               "Lista de bloqueo de controladores vulnerables: activada (la "
                               "mantiene la integridad de memoria)\n");
    // InpOut32 on 32-bit Windows: no service it documents, and neither
    // Memory Integrity nor the blocklist exists there.
    windows.state = on32({});
    EXPECT_EQ(ports.listing().substr(ports.listing().find("inpout32.dll")),
              "inpout32.dll: falta (ni en la carpeta del programa ni en la del sistema)\n");
    const std::string refused = NoWindowsPortMessage(0xD010, windows.ports);
    EXPECT_NE(
        refused.find("    puerto-paralelo --puerto 0x378\n    puerto-paralelo --puerto 0xE050"),
        std::string::npos)
        << refused;
    windows.ports = CardOnly;
    windows.calls.clear();
    const auto port = ports.open(IoAddress{0xE050});
    EXPECT_TRUE(windows.calls.empty());
    port->PortOut(0xC8);
    EXPECT_EQ(windows.calls.back(), "Out32 57424 200");
}

} // namespace
} // namespace pp
