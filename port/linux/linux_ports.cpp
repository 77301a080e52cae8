#include "port/linux/linux_ports.h"

#include "port/linux/linux_messages.h"
#include "port/linux/linux_port.h"

namespace pp {

namespace {

constexpr std::string_view Forms = "escriba la dirección del registro de datos del puerto, en "
                                   "hexadecimal (0xD010) o en decimal (53264), o su dispositivo "
                                   "(/dev/parport1)";

std::variant<PortChoice, std::string> device(const std::string& path, SystemCalls& system) {
    switch (system.nodeKind(path)) {
    case NodeKind::ParallelPort:
        return PortChoice{DeviceNode{path}};
    case NodeKind::UsbPrinter:
        return UsbPrinterExplanation(path);
    case NodeKind::Missing:
        return path + " no existe. Vea los puertos del sistema con --listar.";
    case NodeKind::NotCharacterDevice:
        return path + " no es un dispositivo de caracteres: " + std::string(Forms) + ".";
    case NodeKind::OtherCharacterDevice:
        break;
    }
    return path + " no es un puerto paralelo (ppdev): " + std::string(Forms) + ".";
}

} // namespace

std::variant<PortChoice, std::string> LinuxSystemPorts::readChoice(std::string_view text) {
    if (text.starts_with('/')) {
        return device(std::string(text), system_);
    }
    return ReadPortAddress(text, Forms);
}

std::string LinuxSystemPorts::listing() {
    return PortListing({ListParports(paths_), UsbPrinterNodes(paths_), PcDriverLoaded(paths_),
                        KernelParportDriver(paths_)},
                       system_);
}

std::unique_ptr<PortOutput> LinuxSystemPorts::open(const PortChoice& choice) {
    return std::make_unique<LinuxPort>(system_, paths_, choice);
}

std::string_view LinuxSystemPorts::choiceForms() const {
    return "               la dirección de su registro de datos, en hexadecimal (0xD010)\n"
           "               o en decimal (53264), o su dispositivo (/dev/parport1)\n";
}

std::string_view LinuxSystemPorts::listingExample() const {
    return "parport0 en 0xD010 (/dev/parport0): sí, puede usarlo";
}

std::unique_ptr<SystemPorts> MakeSystemPorts() {
    static LinuxSystemCalls system;
    return std::make_unique<LinuxSystemPorts>(system);
}

} // namespace pp
