#include "ui/program_icon.h"

#include "resources/puerto_paralelo.xpm"

namespace pp {

QPixmap ProgramIcon() {
    return QPixmap(puerto_paralelo_xpm);
}

} // namespace pp
