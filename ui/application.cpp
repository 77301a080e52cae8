#include "ui/application.h"

#include "ui/main_window.h"
#include "ui/program_icon.h"

#include <QApplication>

namespace pp {

int RunProgram(int& argc, char** argv, PortOutput& port) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("puerto-paralelo"));
    QApplication::setWindowIcon(QIcon(ProgramIcon()));
    Form1 form(port);
    form.showCentred();
    return QApplication::exec();
}

} // namespace pp
