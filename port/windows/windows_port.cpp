#include "port/windows/windows_port.h"

#include "port/port_choice.h"
#include "port/windows/windows_messages.h"

#include <algorithm>

namespace pp {

bool MayWriteOnWindows(std::uint16_t address, const WindowsPortList& ports) {
    if (!ports) {
        return IsLegacyAddress(address);
    }
    return std::ranges::any_of(*ports, [address](const WindowsParport& port) {
        return !port.ranges.empty() && DataRegister(port) == address;
    });
}

std::uint16_t DataRegister(const WindowsParport& port) {
    const auto hasEcpAbove = [&port](const IoRange& range) {
        return std::ranges::any_of(port.ranges, [&range](const IoRange& other) {
            return other.first == range.first + 0x400;
        });
    };
    const auto eightBytes = [](const IoRange& range) { return range.last - range.first == 7; };
    auto data = std::ranges::find_if(port.ranges, hasEcpAbove);
    if (data == port.ranges.end()) {
        data = std::ranges::find_if(port.ranges, eightBytes);
    }
    return data != port.ranges.end() ? data->first : port.ranges.front().first;
}

bool DriverProtectionsApply(const InpOutState& state) {
    constexpr unsigned long Windows10 = 10240;
    return state.windows64 && (state.windowsBuild == 0 || state.windowsBuild >= Windows10);
}

Protection DriverBlocklist(const InpOutState& state) {
    if (state.memoryIntegrity == Protection::On || state.smartAppControl == Protection::On) {
        return Protection::On;
    }
    if (state.blocklist != Protection::Unknown) {
        return state.blocklist;
    }
    if (state.windowsBuild >= BlocklistByDefaultBuild) {
        return Protection::On;
    }
    return state.windowsBuild == 0 || state.memoryIntegrity == Protection::Unknown
               ? Protection::Unknown
               : Protection::Off;
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
