#include "ui/application.h"

#include "port/demo_port.h"
#include "ui/main_window.h"
#include "ui/port_display.h"
#include "ui/program_icon.h"

#include <QApplication>

namespace pp {

namespace {

void setUp() {
    QApplication::setApplicationName(QStringLiteral("puerto-paralelo"));
    QApplication::setWindowIcon(QIcon(ProgramIcon()));
}

} // namespace

int RunProgram(int& argc, char** argv, PortOutput& port) {
    QApplication application(argc, argv);
    setUp();
    Form1 form(port);
    form.showCentred();
    return QApplication::exec();
}

int RunDemo(int& argc, char** argv, std::ostream& out) {
    QApplication application(argc, argv);
    setUp();
    DemoPort printer(out);
    PortDisplay display;
    DisplayingPort port(printer, display);
    Form1 form(port);
    form.showCentred();
    // Beside Form1, to its right.
    display.move(form.frameGeometry().topRight() + QPoint(16, 0));
    display.show();
    // Form1 keeps the focus, as in the program itself.
    form.activateWindow();
    return QApplication::exec();
}

} // namespace pp
