// The parallel ports of a Windows machine: --puerto takes an address (there
// are no device nodes), --listar lists the LPT ports of Windows' device list
// and the state of InpOut and its driver, and a port is reached through
// InpOut (WindowsPort).
#pragma once

#include "port/system_ports.h"
#include "port/windows/windows_calls.h"

namespace pp {

class WindowsSystemPorts final : public SystemPorts {
public:
    explicit WindowsSystemPorts(WindowsCalls& calls) : calls_(calls) {}

    std::variant<PortChoice, std::string> readChoice(std::string_view text) override;
    std::string listing() override;
    std::unique_ptr<PortOutput> open(const PortChoice& choice) override;
    std::string_view choiceForms() const override;
    std::string_view listingExample() const override;

private:
    WindowsCalls& calls_;
};

} // namespace pp
