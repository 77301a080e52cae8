#include "ui/port_display_drawing.h"

#include "core/keypad.h"
#include "port/demo_port.h"

#include <algorithm>
#include <iterator>

namespace pp::display {

namespace {

// The digit occupies a DigitWidth x DigitHeight box whose top-left corner is
// at (DigitLeft, DigitTop).
constexpr double DigitLeft = 45;
constexpr double DigitTop = 12;
constexpr double DigitWidth = 90;
constexpr double DigitHeight = 150;
// Each segment a little shorter than the gap between its ends.
constexpr double Gap = 2;
constexpr double Half = Thickness / 2.0;

// The lamps sit in a row below the digit, D7 first.
constexpr double LampTop = 190;
constexpr double LampLeft = 13;

constexpr Point at(Point p, double dx, double dy) {
    return {p.x + dx, p.y + dy};
}

constexpr Hexagon horizontal(Point left, double length) {
    return {left,
            at(left, Half, -Half),
            at(left, length - Half, -Half),
            at(left, length, 0),
            at(left, length - Half, Half),
            at(left, Half, Half)};
}

constexpr Hexagon vertical(Point top, double length) {
    return {top,
            at(top, Half, Half),
            at(top, Half, length - Half),
            at(top, 0, length),
            at(top, -Half, length - Half),
            at(top, -Half, Half)};
}

} // namespace

std::array<Hexagon, 7> Segments() {
    constexpr Point o = {DigitLeft, DigitTop};
    constexpr double w = DigitWidth;
    constexpr double half = DigitHeight / 2;
    return {
        horizontal(at(o, Gap, 0), w - (2 * Gap)),         // a
        vertical(at(o, w, Gap), half - (2 * Gap)),        // b
        vertical(at(o, w, half + Gap), half - (2 * Gap)), // c
        horizontal(at(o, Gap, 2 * half), w - (2 * Gap)),  // d
        vertical(at(o, 0, half + Gap), half - (2 * Gap)), // e
        vertical(at(o, 0, Gap), half - (2 * Gap)),        // f
        horizontal(at(o, Gap, half), w - (2 * Gap)),      // g
    };
}

Point SegmentCentre(int line) {
    if (line == 7) {
        return {DigitLeft + DigitWidth + 18, DigitTop + DigitHeight};
    }
    const Hexagon corners = Segments().at(static_cast<std::size_t>(line));
    const auto [left, right] = std::ranges::minmax(corners, {}, &Point::x);
    const auto [top, bottom] = std::ranges::minmax(corners, {}, &Point::y);
    return {(left.x + right.x) / 2, (top.y + bottom.y) / 2};
}

Point LampCentre(int line) {
    return {LampLeft + ((7 - line) * LampSpacing), LampTop + LampRadius};
}

std::string Title(std::string_view port) {
    return "Display del puerto " + std::string(port) + " (simulado)";
}

std::string Reading(PortByte value) {
    constexpr std::string_view Hex = "0123456789ABCDEF";
    std::string words = {'0', 'x', Hex[value >> 4], Hex[value & 0xF]};
    const auto digit = std::ranges::find(SegmentCode, value) - SegmentCode.begin();
    if (digit < std::ssize(SegmentCode)) {
        // "b" and "d" as the display draws them.
        const char shown = Hex[static_cast<std::size_t>(digit)];
        words += ", muestra ";
        words += shown == 'B' || shown == 'D' ? static_cast<char>(shown - 'A' + 'a') : shown;
    }
    std::string segments;
    for (int line = 0; line < 8; ++line) {
        if (((value >> line) & 1) != 0) {
            segments += segments.empty() ? "" : " ";
            segments +=
                line == 7 ? std::string("punto") : std::string(1, static_cast<char>('a' + line));
        }
    }
    return words + ". Segmentos encendidos: " + (segments.empty() ? "ninguno" : segments) +
           ". Líneas altas: " + HighLines(value) + ".";
}

} // namespace pp::display
