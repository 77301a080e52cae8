// A top-level window that belongs to an object of the program (Form1, the
// demo's display): its class registered once with the program's icon, and a
// window procedure that hands each message to the object that created it
// (the object is CreateWindowExW's last argument).
#pragma once

#include "ui/system_start.h"

#include <windows.h>

#include <cstdlib>
#include <exception>

namespace pp {

// Registers window class `name`, whose messages go to `procedure`, with the
// program's icon and `background` (a brush, or none).
void RegisterOwnedClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                        HBRUSH background);

// Whether a window's handler failed with something it did not catch: the
// program then ends with EXIT_FAILURE, whatever its window posts after.
inline bool WindowHandlerFailed = false;

// Owner has attach(HWND), called once its window exists and with nullptr at
// its last message (WM_NCDESTROY), and handle(message, wParam, lParam),
// called for every message between. What handle throws, beyond what it
// catches itself, does not cross Windows' own code: it is said, and the
// program ends.
template <typename Owner>
LRESULT CALLBACK OwnedWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->attach(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->attach(nullptr);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return owner->handle(message, wParam, lParam);
    } catch (const std::exception& failure) {
        ShowStartFailure(failure.what());
    } catch (...) {
        ShowStartFailure("Error inesperado: el programa se cierra.");
    }
    WindowHandlerFailed = true;
    PostQuitMessage(EXIT_FAILURE);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace pp
