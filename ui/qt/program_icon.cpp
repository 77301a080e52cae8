#include "ui/qt/program_icon.h"

#include "resources/icon_drawing.h"

namespace pp {

QPixmap ProgramIcon() {
    return QPixmap::fromImage(IconDesign());
}

QPixmap ProgramPicture() {
    constexpr int Scale = 8;
    QPixmap picture = QPixmap::fromImage(DrawIcon(32 * Scale));
    picture.setDevicePixelRatio(Scale);
    return picture;
}

} // namespace pp
