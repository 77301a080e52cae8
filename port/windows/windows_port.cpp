#include "port/windows/windows_port.h"

#include "port/port_choice.h"
#include "port/windows/windows_messages.h"

#include <algorithm>

namespace pp {

bool MayWriteOnWindows(std::uint16_t address, const std::vector<WindowsParport>& ports) {
    return IsLegacyAddress(address) || std::ranges::any_of(ports, [address](const auto& port) {
               return std::ranges::any_of(port.ranges, [address](const IoRange& range) {
                   return range.first <= address && address <= range.last;
               });
           });
}

void WindowsPort::PortOut(PortByte value) {
    if (!library_) {
        acquire();
    }
    library_->out32(address_, value);
}

void WindowsPort::acquire() {
    if (!IsLegacyAddress(address_)) {
        const auto ports = calls_.parallelPorts();
        if (!MayWriteOnWindows(address_, ports)) {
            throw PortUnavailable(NoWindowsPortMessage(address_, ports));
        }
    }
    InpOutLoad load = calls_.loadInpOut();
    if (load.failure != InpOutFailure::None || !load.library) {
        throw PortUnavailable(InpOutMessage(load, calls_.programFolder()));
    }
    if (!load.library->driverOpen()) {
        throw PortUnavailable(InpOutDriverClosedMessage(load.path));
    }
    library_ = std::move(load.library);
}

} // namespace pp
