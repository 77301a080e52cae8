// The program's icon: a parallel-port plug with its cable, 32 x 32 pixels.
#pragma once

#include <QPixmap>

namespace pp {

// The 32 x 32 design, for the window's icon.
QPixmap ProgramIcon();

// The design for Picture1: 32 x 32 device-independent pixels, sharp at any
// scale of the screen, from the 256-pixel drawing scaled down.
QPixmap ProgramPicture();

} // namespace pp
