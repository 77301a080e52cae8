// Running the program: the command line, then the window on a port until it
// is closed.
#pragma once

#include "port/demo_port.h"
#include "port/port_choice.h"
#include "port/port_output.h"
#include "ui/qt/main_window.h"
#include "ui/qt/port_display.h"

#include <ostream>

namespace pp {

// puerto-paralelo: reads the command line, then shows Form1 centred, writing
// to the chosen port. Returns the exit status where the command line ends the
// program (help, version, the list, a mistake); once the window is open, the
// process ends when it closes.
int RunProgram(int& argc, char** argv);

// The windows of puerto-paralelo-demo: the same Form1, whose bytes are
// printed on `out` instead of written, and beside it a PortDisplay that shows
// what the port's lines would show. Closing Form1 ends the application; the
// display does not keep it running.
class DemoWindows {
public:
    explicit DemoWindows(std::ostream& out, const PortChoice& port = {});

    // Form1 centred with the focus, the display to its right.
    void show();

    Form1& form() { return form_; }
    PortDisplay& display() { return display_; }

private:
    StreamWriter out_;
    DemoPort printer_;
    PortDisplay display_;
    DisplayingPort<PortDisplay> port_;
    Form1 form_;
};

// puerto-paralelo-demo: reads the command line, then DemoWindows until Form1
// is closed, which ends the process; returns as RunProgram does.
int RunDemo(int& argc, char** argv, std::ostream& out);

} // namespace pp
