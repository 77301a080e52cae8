#include "ui/form1_controls.h"

namespace pp {

namespace {
constexpr auto Button = ControlKind::PushButton;
constexpr auto Key = ControlKind::KeypadKey;
constexpr auto Default = ControlFont::Default;
constexpr auto Keypad = ControlFont::Keypad;
} // namespace

// The keys sit on a 4 x 4 grid, columns 720 twips apart from x = 120, rows
// 480 apart from y = 600:   1 2 3 C / 4 5 6 D / 7 8 9 E / 0 A B F.
const std::array<ControlDescription, 22> Form1Controls = {{
    {"Command1", Button, "Sacar Dato", 360, 2520, 975, 375, Default},
    {"Command2", Button, "Salir", 1560, 2520, 855, 375, Default},
    {"Text1", ControlKind::TextBox, "", 2160, 240, 735, 285, Default},
    {"Label1", ControlKind::Label, "Introdusca el dato a sacar", 120, 240, 1935, 255, Default},
    {"Command4", Key, "1", 120, 600, 615, 375, Keypad},
    {"Command5", Key, "2", 840, 600, 615, 375, Keypad},
    {"Command6", Key, "3", 1560, 600, 615, 375, Keypad},
    {"Command7", Key, "4", 120, 1080, 615, 375, Keypad},
    {"Command8", Key, "5", 840, 1080, 615, 375, Keypad},
    {"Command9", Key, "6", 1560, 1080, 615, 375, Keypad},
    {"Command10", Key, "7", 120, 1560, 615, 375, Keypad},
    {"Command11", Key, "8", 840, 1560, 615, 375, Keypad},
    {"Command12", Key, "9", 1560, 1560, 615, 375, Keypad},
    {"Command13", Key, "0", 120, 2040, 615, 375, Keypad},
    {"Command14", Key, "A", 840, 2040, 615, 375, Keypad},
    {"Command15", Key, "B", 1560, 2040, 615, 375, Keypad},
    {"Command16", Key, "C", 2280, 600, 615, 375, Keypad},
    {"Command17", Key, "D", 2280, 1080, 615, 375, Keypad},
    {"Command18", Key, "E", 2280, 1560, 615, 375, Keypad},
    {"Command19", Key, "F", 2280, 2040, 615, 375, Keypad},
    {"Picture1", ControlKind::PictureBox, "", 240, 3120, 480, 480, ControlFont::None},
    // Six blanks between "Tessavon" and "por": the credit wraps there.
    {"Label2", ControlKind::Label, "Manejo del puerto paralelo en Tessavon      por Dravenko", 840,
     3120, 2055, 615, Default},
}};

} // namespace pp
