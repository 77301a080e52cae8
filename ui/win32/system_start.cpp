#include "ui/system_start.h"

#include "ui/win32/console_streams.h"
#include "ui/win32/later_windows.h"

#include <windows.h>

namespace pp {

// Later loads only from the program's folder and System32, never from the
// folder the program is started in nor from PATH. SetDefaultDllDirectories
// is there from Windows 8 on, and on 7 and Vista with update KB2533623;
// where it is missing, the working folder at least leaves the search order,
// and InpOut is loaded by its full path.
void PrepareProcess() {
    using SetDefault = BOOL(WINAPI*)(DWORD);
    const auto setDefault = LaterFunction<SetDefault>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault != nullptr) {
        setDefault(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    SetDllDirectoryW(L"");
    ConnectStandardStreams();
}

void ShowStartFailure(const std::string& text) {
    Tell(nullptr, text, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

} // namespace pp
