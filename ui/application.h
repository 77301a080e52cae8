// Running the program: the window on the given port until it is closed.
#pragma once

#include "port/port_output.h"

namespace pp {

// Creates the application and shows Form1 centred; returns the exit status.
int RunProgram(int& argc, char** argv, PortOutput& port);

} // namespace pp
