// The hexadecimal keypad: the seven-segment pattern of each digit and the
// handler shared by the sixteen keys.
#pragma once

#include "port/port_output.h"

#include <array>
#include <cstddef>

namespace pp {

// Segment pattern of each hexadecimal digit, indexed by the digit's value.
// Bit 0-6 light segments a-g (a top, b upper right, c lower right, d bottom,
// e lower left, f upper left, g middle); bit 7, the decimal point, is never
// lit. "b" and "d" are drawn lower-case so they differ from "8" and "0".
inline constexpr std::array<PortByte, 16> SegmentCode = {
    0x3F, // 0: a b c d e f
    0x06, // 1: b c
    0x5B, // 2: a b d e g
    0x4F, // 3: a b c d g
    0x66, // 4: b c f g
    0x6D, // 5: a c d f g
    0x7D, // 6: a c d e f g
    0x07, // 7: a b c
    0x7F, // 8: a b c d e f g
    0x6F, // 9: a b c d f g
    0x77, // A: a b c e f g
    0x7C, // b: c d e f g
    0x39, // C: a d e f
    0x5E, // d: b c d e g
    0x79, // E: a d e f g
    0x71, // F: a e f g
};

// Click of a keypad key showing `digit` (0-15): writes that digit's segment
// pattern to the port, once per click, and does nothing else.
// Throws std::out_of_range for a digit above 15.
void KeypadHandler(std::size_t digit, PortOutput& port);

} // namespace pp
