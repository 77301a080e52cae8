#include "ui/application.h"

#include "port/linux_port.h"
#include "port/system_calls.h"
#include "ui/command_line.h"
#include "ui/program_icon.h"

#include <QApplication>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <span>
#include <variant>

namespace pp {

namespace {

// Qt ends the process with abort() and a core dump when it finds no display
// to open the window on. While the application starts, that becomes a plain
// Spanish message and exit status 1.
QtMessageHandler qtHandler = nullptr;
const char* programName = "";

void noDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (qtHandler != nullptr) {
            qtHandler(type, context, message);
        }
        return;
    }
    std::cerr << programName
              << ": no se puede abrir la ventana: no hay ninguna pantalla gráfica disponible.\n"
                 "Abra el programa desde el escritorio (o por ssh con ssh -X). Sin pantalla "
                 "funcionan --listar, --help y --version.\n"
                 "Detalle: "
              << message.toStdString() << std::endl;
    std::_Exit(EXIT_FAILURE);
}

// The application, started with the program's name and icon.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv, const char* program) {
    QCoreApplication::setApplicationName(QStringLiteral("puerto-paralelo"));
    programName = program;
    qtHandler = qInstallMessageHandler(noDisplay);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    QApplication::setWindowIcon(QIcon(ProgramIcon()));
    return application;
}

// The port the command line chose, or the status to end with at once.
std::variant<PortChoice, int> readCommandLine(int argc, char** argv, Program program,
                                              SystemCalls& system) {
    // Everything after the program's name (which an exec may leave out).
    const std::span<char* const> all(argv, static_cast<std::size_t>(std::max(argc, 0)));
    return ReadCommandLine(all.empty() ? all : all.subspan(1), program, system, {}, std::cout,
                           std::cerr);
}

} // namespace

int RunProgram(int& argc, char** argv) {
    LinuxSystemCalls system;
    const auto start = readCommandLine(argc, argv, Program::PuertoParalelo, system);
    if (const int* status = std::get_if<int>(&start)) {
        return *status;
    }
    LinuxPort port(system, {}, std::get<PortChoice>(start));
    const auto application = startApplication(argc, argv, "puerto-paralelo");
    Form1 form(port);
    form.showCentred();
    return QApplication::exec();
}

DemoWindows::DemoWindows(std::ostream& out, const PortChoice& port)
    : printer_(out, PortLabel(port)), display_(QString::fromStdString(PortLabel(port))),
      port_(printer_, display_), form_(port_) {}

void DemoWindows::show() {
    form_.showCentred();
    display_.move(form_.frameGeometry().topRight() + QPoint(16, 0));
    display_.show();
    // Form1 keeps the focus, as in the program itself.
    form_.activateWindow();
}

int RunDemo(int& argc, char** argv, std::ostream& out) {
    // A reader that goes away (puerto-paralelo-demo | head -n 1) must not end
    // the demo at its next line: the lines are lost, the window goes on.
    std::signal(SIGPIPE, SIG_IGN);
    LinuxSystemCalls system;
    const auto start = readCommandLine(argc, argv, Program::Demo, system);
    if (const int* status = std::get_if<int>(&start)) {
        return *status;
    }
    const auto application = startApplication(argc, argv, "puerto-paralelo-demo");
    DemoWindows demo(out, std::get<PortChoice>(start));
    demo.show();
    return QApplication::exec();
}

} // namespace pp
