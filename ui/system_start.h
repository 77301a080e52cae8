// What starting the program asks of the system it runs on, each front end
// with its own (ui/qt/system_start.cpp, ui/win32/system_start.cpp), as the
// port layer has them:
//  - where the libraries loaded while it runs come from. On Windows InpOut,
//    and anything Windows loads on the program's behalf, are taken only from
//    the program's own folder and from the system folder, never from the
//    folder the program is started in nor from PATH, where anyone might have
//    put a library of the same name (which would then run with the program's
//    rights, an administrator's the first time); the program imports only
//    Windows' own. On Linux the dynamic loader never looks in the working
//    folder.
//  - standard output and error as the program's text needs them. On Linux a
//    reader that goes away (puerto-paralelo-demo | head -n 1) must not end
//    the program. On Windows a window program has no console of its own:
//    --help, --version, --listar and the messages go to the console it was
//    started from, unless they are redirected; that console is the user's,
//    and is never changed.
#pragma once

#include <string>

namespace pp {

// Called once, first thing, before anything is loaded or printed.
void PrepareProcess();

// Says why the window cannot open, or why the program cannot go on: on
// standard error and, on Windows, where a program opened from its icon has
// no console, in a message box of Windows' own as well.
void ShowStartFailure(const std::string& text);

} // namespace pp
