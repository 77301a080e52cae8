#include "ui/qt/window_failure.h"

#include <algorithm>

namespace pp {

namespace {

bool anySays(const std::vector<std::string>& said, std::string_view text) {
    return std::ranges::any_of(
        said, [text](const std::string& line) { return line.find(text) != std::string::npos; });
}

// The plugin Qt names in `Could not load the Qt platform plugin "xcb"`.
std::string pluginNamed(const std::vector<std::string>& said) {
    for (const std::string& line : said) {
        const auto at = line.find("platform plugin \"");
        if (at != std::string::npos) {
            const auto start = at + std::string_view("platform plugin \"").size();
            return line.substr(start, line.find('"', start) - start);
        }
    }
    return "";
}

// The library a loader message says it cannot open ("libfoo.so.1: cannot
// open shared object file"), if one does.
std::string missingLibrary(const std::vector<std::string>& said) {
    for (const std::string& line : said) {
        const auto at = line.find(": cannot open shared object file");
        if (at != std::string::npos) {
            const auto start = line.find_last_of(" (\"", at);
            return line.substr(start == std::string::npos ? 0 : start + 1,
                               at - (start == std::string::npos ? 0 : start + 1));
        }
    }
    return "";
}

// What to install for the window system's plugin to load.
std::string remedy(const std::vector<std::string>& said, const std::string& plugin) {
    if (anySays(said, "xcb-cursor0")) {
        return "Falta la biblioteca libxcb-cursor0, que Qt necesita desde la versión 6.5 para "
               "el sistema de ventanas X11. Instálela con:\n"
               "    sudo apt install libxcb-cursor0";
    }
    if (const std::string library = missingLibrary(said); !library.empty()) {
        return "Falta la biblioteca " + library +
               ". Busque qué paquete la tiene (apt-file search " + library + ") e instálelo.";
    }
    if (plugin == "wayland") {
        return "Falta el complemento de Wayland de Qt. Instálelo con:\n"
               "    sudo apt install qt6-wayland";
    }
    return "Vuelva a instalar Qt (sudo apt install --reinstall libqt6gui6 qt6-wayland "
           "libxcb-cursor0), o elija otro sistema de ventanas: -platform xcb o -platform "
           "wayland.";
}

} // namespace

std::string WindowFailureMessage(std::string_view program, std::string_view display,
                                 const std::vector<std::string>& said) {
    const std::string detail = said.empty() ? "" : "\nDetalle: " + said.back();
    // Qt also says it could not load a plugin that loaded but found no
    // display to connect to.
    const bool noConnection = anySays(said, "could not connect to display") ||
                              anySays(said, "Failed to create wl_display");
    const bool pluginFailed = anySays(said, "Could not load the Qt platform plugin") ||
                              anySays(said, "Could not find the Qt platform plugin");
    std::string text(program);
    const std::string plugin = pluginNamed(said);
    if (display.empty() || noConnection || !pluginFailed) {
        return text +
               ": no se puede abrir la ventana: no hay ninguna pantalla gráfica disponible.\n"
               "Abra el programa desde el escritorio (o por ssh con ssh -X). Sin pantalla "
               "funcionan --listar, --help y --version." +
               detail;
    }
    return text + ": no se puede abrir la ventana: hay una pantalla gráfica (" +
           std::string(display) + "), pero Qt no puede cargar su complemento para el sistema " +
           "de ventanas" + (plugin.empty() ? "" : " («" + plugin + "»)") + ".\n" +
           remedy(said, plugin) + detail;
}

} // namespace pp
