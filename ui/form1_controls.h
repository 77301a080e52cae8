// The controls of the main window as data: one row per control, in tab order,
// with its geometry in twips (twentieths of a point; 15 twips make one pixel
// at 96 dpi, so one device-independent pixel in Qt).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pp {

enum class ControlKind : std::uint8_t { PushButton, KeypadKey, TextBox, Label, PictureBox };

// What a click on a button does.
enum class ControlClick : std::uint8_t {
    None,      // not a button
    SacarDato, // writes the byte typed into Text1
    Salir,     // ends the program
    Keypad,    // writes the segment pattern of the key's digit
};

enum class ControlFont : std::uint8_t {
    Default, // the window's font, regular weight
    Keypad,  // "MS Sans Serif" 8.25 pt bold
    None,    // shows no text
};

// The window's font, whatever the desktop's: the size the layout was drawn
// for, in the design's face on Windows ("MS Sans Serif", which Windows maps to
// Microsoft Sans Serif), and elsewhere in a face with the narrow metrics of
// Arial that its boxes assume (the desktops' own, DejaVu Sans, Cantarell or
// Noto Sans, cut captions short). The keypad's face falls back to the same
// where "MS Sans Serif" is missing.
#ifdef _WIN32
inline constexpr std::string_view WindowFontFamily = "MS Sans Serif";
#else
inline constexpr std::string_view WindowFontFamily = "Liberation Sans";
#endif
inline constexpr std::string_view KeypadFontFamily = "MS Sans Serif";
inline constexpr double FontPoints = 8.25;

struct ControlDescription {
    std::string_view name;
    ControlKind kind;
    std::string_view caption; // a keypad key's caption is its hexadecimal digit
    int left;
    int top;
    int width;
    int height;
    ControlFont font;
    ControlClick click;
    // What a screen reader reads where no caption says it: the control's own
    // name (the picture's), or, for a label, the control it names (its buddy).
    // The rows that have neither leave them out, which GCC allows without a
    // warning only where the members have initializers of their own.
    std::string_view accessibleName = {}; // NOLINT(readability-redundant-member-init)
    std::string_view labels = {};         // NOLINT(readability-redundant-member-init)
};

// Twips to pixels at `dpi` dots per inch (1440 twips to the inch), rounded
// to the nearest; at 96, device-independent pixels.
constexpr int TwipsToPixels(int twips, int dpi = 96) {
    return ((twips * dpi) + 720) / 1440;
}

// Size of the window's client area, in twips.
inline constexpr int Form1Width = 3105;
inline constexpr int Form1Height = 3825;

inline constexpr std::string_view Form1Caption = "Puerto Paralelo";
// The title of every message box the program shows.
inline constexpr std::string_view MessageTitle = "Velmarin";

// Every control of the window, in tab order (the row's index is its tab index).
extern const std::array<ControlDescription, 22> Form1Controls;

} // namespace pp
