#include "ui/library_search.h"

#include <windows.h>

namespace pp {

void RestrictLibrarySearch() {
    // Every later LoadLibrary without a full path, and what each library
    // loaded needs, are looked for in these two places only; the working
    // folder leaves the older search order too.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

} // namespace pp
