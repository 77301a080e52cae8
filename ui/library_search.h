// Where the libraries the program loads while it runs come from, on the
// platform it was built for. On Windows, Qt's plugins, what they need, and
// InpOut x64 are taken only from the program's own folder and from System32,
// never from the folder the program is started in nor from PATH, where anyone
// might have put a library of the same name (which would then run with the
// program's rights, an administrator's the first time). The DLLs the program
// imports (Qt's, the compiler's runtime) were loaded by Windows before this
// runs, from the program's folder first: the call cannot govern those. On
// Linux the dynamic loader never looks in the working folder: there is
// nothing to do.
#pragma once

namespace pp {

// Called once, first thing.
void RestrictLibrarySearch();

} // namespace pp
