#include "port/windows/windows_port.h"

#include "port/port_choice.h"
#include "port/windows/windows_messages.h"

#include <algorithm>

namespace pp {

bool MayWriteOnWindows(std::uint16_t address, const WindowsPortList& ports) {
    if (!ports) {
        return IsLegacyAddress(address);
    }
    return std::ranges::any_of(*ports, [address](const auto& port) {
        return std::ranges::any_of(port.ranges, [address](const IoRange& range) {
            return range.first <= address && address <= range.last;
        });
    });
}

std::uint16_t DataRegister(const WindowsParport& port) {
    const auto eightBytes = [](const IoRange& range) { return range.last - range.first == 7; };
    const auto ecp = [&port](const IoRange& range) {
        return std::ranges::any_of(port.ranges, [&range](const IoRange& other) {
            return other.first + 0x400 == range.first;
        });
    };
    const auto data = std::ranges::find_if(
        port.ranges, [&](const IoRange& range) { return eightBytes(range) && !ecp(range); });
    return data != port.ranges.end() ? data->first : port.ranges.front().first;
}

void WindowsPort::PortOut(PortByte value) {
    if (!library_) {
        acquire();
    }
    library_->out32(address_, value);
}

void WindowsPort::acquire() {
    const WindowsPortList ports = calls_.parallelPorts();
    if (!MayWriteOnWindows(address_, ports)) {
        throw PortUnavailable(NoWindowsPortMessage(address_, ports));
    }
    InpOutLoad load = calls_.loadInpOut();
    if (load.failure != InpOutFailure::None || !load.library) {
        throw PortUnavailable(InpOutMessage(load, calls_.programFolder(), calls_.systemFolder()));
    }
    if (!load.library->driverOpen()) {
        throw PortUnavailable(InpOutDriverClosedMessage(load.path, calls_.inpOutState()));
    }
    library_ = std::move(load.library);
}

} // namespace pp
