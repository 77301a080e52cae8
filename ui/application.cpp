#include "ui/application.h"

#include "port/linux_port.h"
#include "port/system_calls.h"
#include "ui/command_line.h"
#include "ui/program_icon.h"
#include "ui/window_failure.h"

#include <QApplication>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace pp {

namespace {

// Qt ends the process with abort() and a core dump when it cannot open a
// window. While the application starts, that becomes a plain Spanish message
// naming the cause, and exit status 1.
QtMessageHandler qtHandler = nullptr;
const char* programName = "";
std::vector<std::string> qtSaid;

void windowFailure(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    qtSaid.push_back(message.toStdString());
    if (type != QtFatalMsg) {
        if (qtHandler != nullptr) {
            qtHandler(type, context, message);
        }
        return;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        display = std::getenv("WAYLAND_DISPLAY");
    }
    std::cerr << WindowFailureMessage(programName, display == nullptr ? "" : display, qtSaid)
              << '\n';
    std::_Exit(EXIT_FAILURE);
}

// Who the program is to the desktop: its X11 window class (the application
// name) and its Wayland app id (the desktop file name), each the name of the
// program's own desktop entry, so that docks and menus show its icon and group
// its windows with the entry.
struct Identity {
    const char* program;
    const char* desktopEntry;
};

constexpr Identity identityOf(Program program) {
    return program == Program::Demo
               ? Identity{"puerto-paralelo-demo", "org.puertoparalelo.PuertoParaleloDemo"}
               : Identity{"puerto-paralelo", "org.puertoparalelo.PuertoParalelo"};
}

// The application, started with the program's name, desktop entry and icon.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv, Program program) {
    const Identity identity = identityOf(program);
    QCoreApplication::setApplicationName(QString::fromLatin1(identity.program));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(identity.desktopEntry));
    programName = identity.program;
    qtHandler = qInstallMessageHandler(windowFailure);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    qtSaid.clear();
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
    const auto application = startApplication(argc, argv, Program::PuertoParalelo);
    Form1 form(port);
    form.showCentred();
    return QApplication::exec();
}

DemoWindows::DemoWindows(std::ostream& out, const PortChoice& port)
    : printer_(out, PortLabel(port)), display_(QString::fromStdString(PortLabel(port))),
      port_(printer_, display_), form_(port_) {}

void DemoWindows::show() {
    // The display first: Form1, shown last, has the focus as in the program
    // itself, also where the window system gives it to the newest window and
    // lets no program take it (Wayland).
    display_.move(form_.centredGeometry().topRight() + QPoint(16, 0));
    display_.show();
    form_.showCentred();
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
    const auto application = startApplication(argc, argv, Program::Demo);
    DemoWindows demo(out, std::get<PortChoice>(start));
    demo.show();
    return QApplication::exec();
}

} // namespace pp
