// The program's icon, the 32 x 32 design (puerto_paralelo.xpm), drawn at any
// size: at whole multiples of 32 each pixel of the design is a square block;
// other sizes are smoothly scaled from the next larger multiple. The icon
// files and the picture in the window are drawn alike.
#pragma once

#include "resources/puerto_paralelo.xpm"

#include <QImage>

namespace pp {

inline QImage IconDesign() {
    return QImage(puerto_paralelo_xpm).convertToFormat(QImage::Format_ARGB32);
}

// The design `size` pixels wide and high.
inline QImage DrawIcon(int size) {
    const QImage icon = IconDesign();
    const int blocks = (size + icon.width() - 1) / icon.width();
    const QImage sharp = icon.scaled(blocks * icon.width(), blocks * icon.height(),
                                     Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (sharp.width() == size) {
        return sharp;
    }
    return sharp.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace pp
