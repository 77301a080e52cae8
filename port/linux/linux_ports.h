// The parallel ports of a Linux machine: --puerto takes an address or a ppdev
// device node, --listar lists what the kernel knows, and a port is reached
// through ppdev or, as root at a legacy address, directly (LinuxPort).
#pragma once

#include "port/linux/parport_lookup.h"
#include "port/linux/system_calls.h"
#include "port/system_ports.h"

namespace pp {

class LinuxSystemPorts final : public SystemPorts {
public:
    explicit LinuxSystemPorts(SystemCalls& system, ParportPaths paths = {})
        : system_(system), paths_(std::move(paths)) {}

    std::variant<PortChoice, std::string> readChoice(std::string_view text) override;
    std::string listing() override;
    std::unique_ptr<PortOutput> open(const PortChoice& choice) override;
    std::string_view choiceForms() const override;
    std::string_view listingExample() const override;

private:
    SystemCalls& system_;
    ParportPaths paths_;
};

} // namespace pp
