// The program's icon: a parallel-port plug with its cable, 32 x 32 pixels.
#pragma once

#include <QPixmap>

namespace pp {

QPixmap ProgramIcon();

} // namespace pp
