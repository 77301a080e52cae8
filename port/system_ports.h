// The machine's parallel ports as the rest of the program sees them, on the
// platform it was built for: reading the P of --puerto P, listing the ports
// for --listar, and opening the one chosen. Each platform implements it in
// its own folder, port/linux and port/windows.
#pragma once

#include "port/port_choice.h"
#include "port/port_output.h"

#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace pp {

class SystemPorts {
public:
    virtual ~SystemPorts() = default;

    // The choice `text` names, or what is wrong with it, in Spanish.
    virtual std::variant<PortChoice, std::string> readChoice(std::string_view text) = 0;
    // What --listar prints: the ports the system knows, one per line.
    virtual std::string listing() = 0;
    // The port write for `choice`. Touches nothing: the port is reached at
    // the first write.
    virtual std::unique_ptr<PortOutput> open(const PortChoice& choice) = 0;

    // For --help: what P may be, in lines indented to the option's text, and
    // one line of --listar as an example.
    virtual std::string_view choiceForms() const = 0;
    virtual std::string_view listingExample() const = 0;

protected:
    SystemPorts() = default;
    SystemPorts(const SystemPorts&) = default;
    SystemPorts& operator=(const SystemPorts&) = default;
};

// The ports of the machine the program runs on.
std::unique_ptr<SystemPorts> MakeSystemPorts();

} // namespace pp
