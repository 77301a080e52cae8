// Functions of Windows newer than the oldest Windows a build runs on (XP for
// x86, Vista for x64), looked up as the program runs: where a function is
// missing, the caller does what that Windows did. Only from DLLs the program
// has loaded already (kernel32, user32), which were taken from the system
// folder.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pp {

template <typename Function> Function LaterFunction(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    // GetProcAddress gives every function as FARPROC; this is its real type.
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The window's dots per inch: GetDpiForWindow on Windows 10 (1607) and later,
// where each monitor has its own; before, the system's.
UINT WindowDpi(HWND window);

// The outer size of a window whose client area is `client`, at `dpi`.
SIZE FrameSize(SIZE client, DWORD style, DWORD extendedStyle, UINT dpi);

// Device-independent pixels (96 to the inch) at `dpi`, rounded.
inline int Scaled(double pixels, UINT dpi) {
    return static_cast<int>(pixels * dpi / 96.0 + (pixels < 0 ? -0.5 : 0.5));
}

// UTF-8 to UTF-16 and back.
std::wstring Wide(std::string_view text);
std::string Utf8(std::wstring_view text);

} // namespace pp
