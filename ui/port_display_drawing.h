// The demo's picture of the port, as both windows draw it (Qt on Linux, GDI
// on Windows): what a seven-segment display wired to D0-D7 would show
// (segments a-g on D0-D6, the decimal point on D7), and below it a row of
// lamps, one per data line, D7 on the left; and the same in words, for a
// screen reader. Sizes are device-independent pixels.
#pragma once

#include "port/port_output.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pp::display {

struct Point {
    double x;
    double y;
};

struct Colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

inline constexpr int Width = 180;
inline constexpr int Height = 228;

// Segments are hexagons Thickness thick; the decimal point and the lamps are
// circles.
inline constexpr int Thickness = 14;
inline constexpr int PointRadius = Thickness / 2;
inline constexpr int LampRadius = 8;
inline constexpr int LampSpacing = 22;
// Each lamp's label ("D0") stands under it in a box LampSpacing wide and
// LabelHeight high, LabelGap below the lamp, in a font of LabelPoints.
inline constexpr int LabelGap = 2;
inline constexpr int LabelHeight = 14;
inline constexpr int LabelPoints = 8;

inline constexpr Colour Background = {24, 24, 24};
inline constexpr Colour Lit = {255, 32, 32};
inline constexpr Colour Unlit = {70, 24, 24};
inline constexpr Colour LabelColour = {200, 200, 200};

using Hexagon = std::array<Point, 6>;

// The corners of segments a-g, in that order.
std::array<Hexagon, 7> Segments();
// The middle of segment `line` (0-6 for a-g) or of the decimal point (7).
Point SegmentCentre(int line);
// The middle of the lamp of data line `line` (0-7).
Point LampCentre(int line);

// The display's window title: "Display del puerto 0x378 (simulado)", for the
// port as PortLabel names it.
std::string Title(std::string_view port);

// The display in words: "0x77, muestra A. Segmentos encendidos: a b c e f g.
// Líneas altas: D0 D1 D2 D4 D5 D6." (UTF-8).
std::string Reading(PortByte value);

} // namespace pp::display
