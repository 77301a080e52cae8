#include "ui/application.h"

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

DemoWindows::DemoWindows(std::ostream& out)
    : printer_(out), port_(printer_, display_), form_(port_) {}

void DemoWindows::show() {
    form_.showCentred();
    display_.move(form_.frameGeometry().topRight() + QPoint(16, 0));
    display_.show();
    // Form1 keeps the focus, as in the program itself.
    form_.activateWindow();
}

int RunDemo(int& argc, char** argv, std::ostream& out) {
    QApplication application(argc, argv);
    setUp();
    DemoWindows demo(out);
    demo.show();
    return QApplication::exec();
}

} // namespace pp
