#include "ui/qt/application.h"

#include "port/system_ports.h"
#include "ui/command_line.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/window_failure.h"
#include "ui/system_start.h"

#include <QApplication>
#include <QIcon>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_LEAK__)
#include <sanitizer/lsan_interface.h>
#define PP_LEAK_CHECK 1
#else
#define PP_LEAK_CHECK 0
#endif

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace pp {

namespace {

// Qt ends the process with abort() and a core dump when it cannot open a
// window. While the application starts, that becomes a plain Spanish message
// naming the cause, and exit status 1.
// Qt may log from its own threads (the X11 and Wayland event readers) while
// the application starts, so what it said is kept under a lock.
QtMessageHandler qtHandler = nullptr;
const char* programName = "";
std::mutex qtSaidLock;
std::vector<std::string> qtSaid;

// What Qt has said so far, with MESSAGE added to it.
std::vector<std::string> rememberQtSaid(const QString& message) {
    const std::lock_guard<std::mutex> lock(qtSaidLock);
    qtSaid.push_back(message.toStdString());
    return qtSaid;
}

void forgetQtSaid() {
    const std::lock_guard<std::mutex> lock(qtSaidLock);
    qtSaid.clear();
}

void windowFailure(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        rememberQtSaid(message);
        if (qtHandler != nullptr) {
            qtHandler(type, context, message);
        }
        return;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        display = std::getenv("WAYLAND_DISPLAY");
    }
    const std::vector<std::string> said = rememberQtSaid(message);
    ShowStartFailure(WindowFailureMessage(programName, display == nullptr ? "" : display, said));
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
    forgetQtSaid();
    QApplication::setWindowIcon(QIcon(ProgramIcon()));
    return application;
}

// Ends the process once the window has closed, at once, as "Salir" asks:
// nothing is saved and Qt is not taken down, which with Qt 6.4's Wayland
// platform may never end (its display's event thread waits forever in
// wl_display_read_events while the display waits for it). Standard output is
// flushed first; a sanitizer build checks for leaks here, where exit() would.
[[noreturn]] void endAtOnce(int status) {
    std::cout.flush();
    std::cerr.flush();
#if PP_LEAK_CHECK
    __lsan_do_leak_check();
#endif
    std::_Exit(status);
}

// The port the command line chose, or the status to end with at once.
std::variant<PortChoice, int> readCommandLine(int argc, char** argv, Program program,
                                              SystemPorts& ports) {
    // Everything after the program's name (which an exec may leave out).
    const std::span<char* const> all(argv, static_cast<std::size_t>(std::max(argc, 0)));
    StreamWriter out(std::cout);
    StreamWriter err(std::cerr);
    return ReadCommandLine(all.empty() ? all : all.subspan(1), program, ports, out, err);
}

} // namespace

int RunProgram(int& argc, char** argv) {
    PrepareProcess();
    const auto ports = MakeSystemPorts();
    const auto start = readCommandLine(argc, argv, Program::PuertoParalelo, *ports);
    if (const int* status = std::get_if<int>(&start)) {
        return *status;
    }
    const auto port = ports->open(std::get<PortChoice>(start));
    const auto application = startApplication(argc, argv, Program::PuertoParalelo);
    Form1 form(*port);
    form.showCentred();
    endAtOnce(QApplication::exec());
}

DemoWindows::DemoWindows(std::ostream& out, const PortChoice& port)
    : out_(out), printer_(out_, PortLabel(port)), display_(QString::fromStdString(PortLabel(port))),
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
    PrepareProcess();
    const auto ports = MakeSystemPorts();
    const auto start = readCommandLine(argc, argv, Program::Demo, *ports);
    if (const int* status = std::get_if<int>(&start)) {
        return *status;
    }
    const auto application = startApplication(argc, argv, Program::Demo);
    DemoWindows demo(out, std::get<PortChoice>(start));
    demo.show();
    const int status = QApplication::exec();
    out.flush();
    endAtOnce(status);
}

} // namespace pp
