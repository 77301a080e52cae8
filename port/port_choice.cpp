#include "port/port_choice.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <system_error>

namespace pp {

std::string HexAddress(unsigned long address) {
    std::array<char, 2 + (2 * sizeof address) + 1> text{};
    std::snprintf(text.data(), text.size(), "0x%lX", address);
    return text.data();
}

std::string PortLabel(const PortChoice& choice) {
    if (const auto* device = std::get_if<DeviceNode>(&choice)) {
        return device->path;
    }
    return HexAddress(std::get<IoAddress>(choice).value);
}

std::string PortName(const PortChoice& choice) {
    if (const auto* device = std::get_if<DeviceNode>(&choice)) {
        return device->path;
    }
    const std::uint16_t address = std::get<IoAddress>(choice).value;
    return HexAddress(address) + " (" + std::to_string(address) + ")";
}

bool IsLegacyAddress(std::uint16_t address) {
    return address == 0x378 || address == 0x278 || address == 0x3BC;
}

namespace {

std::string quoted(std::string_view text) {
    return "«" + std::string(text) + "»";
}

// The whole of `digits` as a number in `base`, if it is one and fits.
std::optional<unsigned long> wholeNumber(std::string_view digits, int base) {
    unsigned long value = 0;
    const char* first = digits.data();
    const char* last = first + digits.size();
    const auto [end, error] = std::from_chars(first, last, value, base);
    if (digits.empty() || error == std::errc::invalid_argument || end != last) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return 0x10000; // as far out of range as any larger number
    }
    return value;
}

} // namespace

std::variant<PortChoice, std::string> ReadPortAddress(std::string_view text,
                                                      std::string_view forms) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const auto value = hex ? wholeNumber(text.substr(2), 16) : wholeNumber(text, 10);
    if (!value) {
        return quoted(text) + " no es un puerto: " + std::string(forms) + ".";
    }
    if (*value < 1 || *value > 0xFFFF) {
        return quoted(text) + " está fuera de las direcciones de E/S, que van de 0x1 a 0xFFFF.";
    }
    // Built in place: moving a whole PortChoice in makes GCC 12 warn, wrongly,
    // of a device's string.
    return std::variant<PortChoice, std::string>(std::in_place_index<0>,
                                                 IoAddress{static_cast<std::uint16_t>(*value)});
}

} // namespace pp
