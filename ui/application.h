// Running the program: the window on a port until it is closed.
#pragma once

#include "port/port_output.h"

#include <ostream>

namespace pp {

// puerto-paralelo: Form1 centred, writing to `port`; returns the exit status.
int RunProgram(int& argc, char** argv, PortOutput& port);

// puerto-paralelo-demo: the same Form1, whose bytes are printed on `out`
// instead of written, and beside it a window that shows what the port's
// lines would show. Closing Form1 ends both.
int RunDemo(int& argc, char** argv, std::ostream& out);

} // namespace pp
