// "Sacar Dato": writing the byte the user typed into Text1.
#pragma once

#include "core/window_operations.h"
#include "port/port_output.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace pp {

inline constexpr std::string_view EmptyEntryMessage = "Deve de introducir un numero";
inline constexpr std::string_view OutOfRangeMessage =
    "los datos deven de ser numericos entre 0 y 255";

// The byte a number stands for: the number rounded to the nearest integer,
// halves to the even one (254.5 gives 254, 255.5 gives 256), if that lies in
// 0-255. Anything else, infinities included, stands for no byte.
std::optional<PortByte> TypedByte(double number);

enum class SacarDatoOutcome : std::uint8_t {
    Written,    // the byte was written, then Text1 cleared
    EmptyEntry, // nothing typed: message shown, Text1 left alone
    OutOfRange, // message shown, then Text1 cleared; nothing written
};

// Click of "Sacar Dato": reads Text1 and writes the byte it holds, or tells the
// user why not. Never moves the focus or touches another control.
SacarDatoOutcome SacarDatoHandler(WindowOperations& window, PortOutput& port);

} // namespace pp
