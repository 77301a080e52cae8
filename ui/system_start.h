// What starting the program asks of the system it runs on, each system in its
// own folder (ui/qt/linux, ui/qt/windows, ui/win32), as the port layer has
// them:
//  - where the libraries loaded while it runs come from. On Windows, Qt's
//    plugins, what they need, and InpOut are taken only from the program's
//    own folder and from the system folder, never from the folder the
//    program is started in nor from PATH, where anyone might have put a
//    library of the same name (which would then run with the program's
//    rights, an administrator's the first time). The DLLs the program imports
//    (Qt's, the compiler's runtime) were loaded by Windows before this runs,
//    from the program's folder first: the call cannot govern those. On Linux
//    the dynamic loader never looks in the working folder.
//  - standard output and error as the program's text needs them. On Linux a
//    reader that goes away (puerto-paralelo-demo | head -n 1) must not end
//    the program. On Windows a window program has no console of its own:
//    --help, --version, --listar and the messages go to the console it was
//    started from, unless they are redirected; that console is the user's,
//    and is given back with the code page it had.
//  - where the user reads why the window cannot open, and only there: Qt on
//    Windows shows a box of its own, in English, before it ends for want of
//    its window plugin.
#pragma once

#include <functional>
#include <string>

namespace pp {

// Called once, first thing, before anything is loaded or printed.
void PrepareProcess();

// Gives back what PrepareProcess changed that outlives the process (the
// console's code page on Windows). Called as the program ends, however it
// ends, after its last words.
void RestoreProcess();

// Says why the window cannot open, where Qt cannot show it: on standard error
// and, on Windows, where a program opened from its icon has no console, in a
// message box of Windows' own as well.
void ShowStartFailure(const std::string& text);

// Runs start, Qt starting the application, with any message box Qt would
// show meanwhile held back, so that the user reads why in ShowStartFailure's
// words alone.
void WhileQtStarts(const std::function<void()>& start);

} // namespace pp
