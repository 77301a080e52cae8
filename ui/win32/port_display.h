// The demo's picture of the port in a window of its own, drawn with GDI:
// what a seven-segment display wired to D0-D7 would show, and a lamp per data
// line. A screen reader reads the same in words, and is told each byte as it
// is written, wherever the focus is.
#pragma once

#include "port/port_output.h"
#include "ui/displaying_port.h"

#include <windows.h>

#include <string>

namespace pp {

class PortDisplay final {
public:
    // Hidden, with every line low; its title names the simulated `port`.
    PortDisplay(HINSTANCE instance, const std::string& port);
    ~PortDisplay();
    PortDisplay(const PortDisplay&) = delete;
    PortDisplay& operator=(const PortDisplay&) = delete;

    // Shown with its frame's top-left corner at `corner`, without the focus.
    void showAt(POINT corner);

    // Shows the lines of a byte just written to the port, and announces them.
    void showByte(PortByte value);

    // For its window procedure (owned_window.h).
    void attach(HWND window);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void draw(HDC target, const RECT& area) const;
    void fit();

    HWND window_ = nullptr;
    // What assistive technology reads: a static text over the whole
    // display, whose name is the reading, drawn by its owner.
    HWND reading_ = nullptr;
    UINT dpi_ = 96;
    PortByte byte_ = 0;
};

} // namespace pp
