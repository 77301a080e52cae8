#include "ui/form1_controls.h"

namespace pp {

namespace {
constexpr auto Button = ControlKind::PushButton;
constexpr auto Key = ControlKind::KeypadKey;
constexpr auto Default = ControlFont::Default;
constexpr auto Keypad = ControlFont::Keypad;
constexpr auto Digit = ControlClick::Keypad;
constexpr auto NoClick = ControlClick::None;
} // namespace

// The keys sit on a 4 x 4 grid, columns 720 twips apart from x = 120, rows
// 480 apart from y = 600:   1 2 3 C / 4 5 6 D / 7 8 9 E / 0 A B F.
const std::array<ControlDescription, 22> Form1Controls = {{
    {"Command1", Button, "Sacar Dato", 360, 2520, 975, 375, Default, ControlClick::SacarDato},
    {"Command2", Button, "Salir", 1560, 2520, 855, 375, Default, ControlClick::Salir},
    {"Text1", ControlKind::TextBox, "", 2160, 240, 735, 285, Default, NoClick},
    {"Label1", ControlKind::Label, "Introdusca el dato a sacar", 120, 240, 1935, 255, Default,
     NoClick, "", "Text1"},
    {"Command4", Key, "1", 120, 600, 615, 375, Keypad, Digit},
    {"Command5", Key, "2", 840, 600, 615, 375, Keypad, Digit},
    {"Command6", Key, "3", 1560, 600, 615, 375, Keypad, Digit},
    {"Command7", Key, "4", 120, 1080, 615, 375, Keypad, Digit},
    {"Command8", Key, "5", 840, 1080, 615, 375, Keypad, Digit},
    {"Command9", Key, "6", 1560, 1080, 615, 375, Keypad, Digit},
    {"Command10", Key, "7", 120, 1560, 615, 375, Keypad, Digit},
    {"Command11", Key, "8", 840, 1560, 615, 375, Keypad, Digit},
    {"Command12", Key, "9", 1560, 1560, 615, 375, Keypad, Digit},
    {"Command13", Key, "0", 120, 2040, 615, 375, Keypad, Digit},
    {"Command14", Key, "A", 840, 2040, 615, 375, Keypad, Digit},
    {"Command15", Key, "B", 1560, 2040, 615, 375, Keypad, Digit},
    {"Command16", Key, "C", 2280, 600, 615, 375, Keypad, Digit},
    {"Command17", Key, "D", 2280, 1080, 615, 375, Keypad, Digit},
    {"Command18", Key, "E", 2280, 1560, 615, 375, Keypad, Digit},
    {"Command19", Key, "F", 2280, 2040, 615, 375, Keypad, Digit},
    {"Picture1", ControlKind::PictureBox, "", 240, 3120, 480, 480, ControlFont::None, NoClick,
     "Icono de Puerto Paralelo: el conector de un cable de puerto paralelo"},
    // Six blanks between "Tessavon" and "por": the credit wraps there.
    {"Label2", ControlKind::Label, "Manejo del puerto paralelo en Tessavon      por Dravenko", 840,
     3120, 2055, 615, Default, NoClick},
}};

} // namespace pp
