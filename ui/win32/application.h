// Running the program on Windows: the command line, then the window on a
// port until it is closed.
#pragma once

namespace pp {

// puerto-paralelo.exe: reads the command line (Windows' own, in UTF-16),
// then shows Form1 centred, writing to the chosen port, until it closes.
// Returns the exit status.
int RunProgram();

// puerto-paralelo-demo.exe: the same, printing each byte on standard output
// instead of writing it, with the simulated display to Form1's right.
int RunDemo();

} // namespace pp
