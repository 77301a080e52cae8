// Standard output and error as the program's text needs them, on the
// platform it was built for. On Linux a reader that goes away
// (puerto-paralelo-demo | head -n 1) must not end the program. On Windows a
// GUI program has no console of its own: --help, --version, --listar and the
// messages go to the console it was started from, unless they are redirected.
#pragma once

#include <string>

namespace pp {

// Called once, before anything is printed.
void PrepareStandardStreams();

// Says why the window cannot open, where Qt cannot show it: on standard error
// and, on Windows, where a program opened from its icon has no console, in a
// message box of Windows' own as well.
void ShowStartFailure(const std::string& text);

} // namespace pp
