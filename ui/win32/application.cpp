#include "ui/win32/application.h"

#include "port/demo_port.h"
#include "port/system_ports.h"
#include "ui/command_line.h"
#include "ui/system_start.h"
#include "ui/win32/console_streams.h"
#include "ui/win32/form1.h"
#include "ui/win32/later_windows.h"
#include "ui/win32/owned_window.h"
#include "ui/win32/port_display.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace pp {

namespace {

// The arguments after the program's name, in UTF-8, as Windows split its
// command line.
class Arguments {
public:
    Arguments() {
        int count = 0;
        wchar_t** given = CommandLineToArgvW(GetCommandLineW(), &count);
        for (int index = 1; given != nullptr && index < count; ++index) {
            texts_.push_back(Utf8(given[index]));
        }
        LocalFree(static_cast<HLOCAL>(given));
        std::ranges::transform(texts_, std::back_inserter(pointers_),
                               [](std::string& text) { return text.data(); });
    }

    std::span<char* const> all() const { return pointers_; }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};

// Until the window closes: Tab and the keys of a dialog among its controls.
// The status is the one the quit message carries: Form1's, or a failure's.
int runWindow(Form1& form) {
    MSG message;
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0 && got != -1) {
        if (!form.dialogKey(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return got == 0 && !WindowHandlerFailed ? static_cast<int>(message.wParam) : EXIT_FAILURE;
}

// Runs `body` with the port the command line chose; returns the status the
// program ends with.
template <typename Body> int run(Program program, Body&& body) {
    PrepareProcess();
    int status = 0;
    try {
        const auto ports = MakeSystemPorts();
        const Arguments arguments;
        const auto start =
            ReadCommandLine(arguments.all(), program, *ports, StandardOutput(), StandardError());
        if (const int* ended = std::get_if<int>(&start)) {
            status = *ended;
        } else {
            // The buttons, text box and labels of common controls 6, with
            // the look of the Windows they run on.
            INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
            InitCommonControlsEx(&controls);
            status = body(*ports, std::get<PortChoice>(start), GetModuleHandleW(nullptr));
        }
    } catch (const std::exception& failure) {
        ShowStartFailure(failure.what());
        status = 1;
    }
    return status;
}

} // namespace

int RunProgram() {
    return run(Program::PuertoParalelo,
               [](SystemPorts& ports, const PortChoice& choice, HINSTANCE instance) {
                   const auto port = ports.open(choice);
                   Form1 form(*port, instance);
                   form.showCentred();
                   return runWindow(form);
               });
}

int RunDemo() {
    return run(Program::Demo,
               [](SystemPorts& /*ports*/, const PortChoice& choice, HINSTANCE instance) {
                   DemoPort printer(StandardOutput(), PortLabel(choice));
                   PortDisplay display(instance, PortLabel(choice));
                   DisplayingPort port(printer, display);
                   Form1 form(port, instance);
                   form.showCentred();
                   // To Form1's right, its top level with Form1's; Form1 keeps the focus.
                   RECT frame = {};
                   GetWindowRect(form.window(), &frame);
                   display.showAt({frame.right + Scaled(16, WindowDpi(form.window())), frame.top});
                   return runWindow(form);
               });
}

} // namespace pp
