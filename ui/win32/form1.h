// Form1, the program's one window, on the Win32 API: a keypad of sixteen
// hexadecimal keys that write their seven-segment pattern to the parallel
// port, a text box with "Sacar Dato" to write a typed byte, and "Salir".
// The controls stand where the table of controls puts them, in twips
// converted at the window's dots per inch; a change of monitor or of scale
// lays them out again.
#pragma once

#include "core/window_operations.h"
#include "port/port_output.h"
#include "ui/form1_controls.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pp {

class Form1 final : private WindowOperations {
public:
    // Builds the window and its controls, hidden; writes nothing to `port`.
    Form1(PortOutput& port, HINSTANCE instance);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Shows the window, its frame included, centred on its monitor's work
    // area, with the focus on "Sacar Dato".
    void showCentred();

    // Tab, Shift+Tab and Space among the controls; true where `message` was
    // one of those and has been handled.
    bool dialogKey(MSG& message);

    HWND window() const { return window_; }

    // For its window procedure (owned_window.h).
    void attach(HWND window);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void createControls();
    void layOut(UINT dpi);
    void clicked(std::size_t row);
    void drawPicture(const DRAWITEMSTRUCT& item) const;

    std::string ReadText() override;
    void SetText(std::string_view text) override;
    void ShowMessage(std::string_view text) override;

    // Runs a handler that writes to the port. A byte that could not be
    // written is reported and the program goes on; without a port at all the
    // program cannot do anything useful: the cause is shown and it ends.
    template <typename Handler> void writing(Handler&& handler);

    PortOutput& port_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::array<HWND, Form1Controls.size()> controls_{};
    HFONT windowFont_ = nullptr;
    HFONT keypadFont_ = nullptr;
    HICON picture_ = nullptr;
    UINT dpi_ = 96;
    HWND lastFocus_ = nullptr;
    int status_ = 0;
};

} // namespace pp
