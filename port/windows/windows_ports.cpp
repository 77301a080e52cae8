#include "port/windows/windows_ports.h"

#include "port/windows/windows_messages.h"
#include "port/windows/windows_port.h"

namespace pp {

namespace {

constexpr std::string_view Forms = "escriba la dirección del registro de datos del puerto, en "
                                   "hexadecimal (0xD010) o en decimal (53264), como la muestra "
                                   "el Administrador de dispositivos";

} // namespace

std::variant<PortChoice, std::string> WindowsSystemPorts::readChoice(std::string_view text) {
    return ReadPortAddress(text, Forms);
}

std::string WindowsSystemPorts::listing() {
    return WindowsPortListing(calls_.parallelPorts(), calls_.inpOutState());
}

std::unique_ptr<PortOutput> WindowsSystemPorts::open(const PortChoice& choice) {
    // Windows has no device nodes: readChoice gives only addresses.
    const auto* address = std::get_if<IoAddress>(&choice);
    return std::make_unique<WindowsPort>(calls_, address != nullptr ? address->value : DataPort);
}

std::string_view WindowsSystemPorts::choiceForms() const {
    return "               la dirección de su registro de datos, en hexadecimal (0xD010)\n"
           "               o en decimal (53264), como la muestra el Administrador de\n"
           "               dispositivos en los recursos del puerto\n";
}

std::string_view WindowsSystemPorts::listingExample() const {
    return "LPT3 en 0xD010 (Puerto de impresora PCI ECP (LPT3))";
}

} // namespace pp
