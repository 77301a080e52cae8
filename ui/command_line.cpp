#include "ui/command_line.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pp {

namespace {

// Whether the window is Qt's, which reads options of its own (PP_QT_OPTIONS:
// 1 for the Qt front end, 0 for the native Windows one).
constexpr bool QtTakesItsOptions = PP_QT_OPTIONS != 0;

struct Options {
    std::optional<std::string> port;
    bool list = false;
    bool help = false;
    bool version = false;
};

// Where the whole documentation is: the manual page, or on Windows the
// README installed beside the program.
std::string moreInformation(const std::string& name) {
#ifdef _WIN32
    (void)name;
    return "Más información: LEEME.txt, en la carpeta del programa";
#else
    return "Más información: man " + name;
#endif
}

std::string help(Program program, const SystemPorts& ports) {
    const std::string name(NameOf(program));
    std::string text = Usage(program) + "\n";
    if (program == Program::Demo) {
        text += "Simula el puerto paralelo del PC: la misma ventana que puerto-paralelo, pero en\n"
                "lugar de escribir cada byte en el puerto lo imprime en la salida estándar y lo\n"
                "muestra en un display de siete segmentos dibujado en pantalla.\n";
    } else {
        text += "Escribe bytes en el puerto paralelo del PC: las teclas 0-9 y A-F muestran su\n"
                "dígito en un display de siete segmentos conectado a las líneas D0-D7, y\n"
                "«Sacar Dato» escribe cualquier byte de 0 a 255.\n";
    }
    return text + "\n" + OptionsHelp(program, ports.choiceForms(), QtTakesItsOptions) +
           "\n"
           "Ejemplo, con una tarjeta PCI Express o ExpressCard de puerto paralelo:\n"
           "  $ " +
           name + " " + std::string(ListOption) + "\n  " + std::string(ports.listingExample()) +
           "\n  $ " + name + " " + std::string(PortOption) + " 0xD010\n\n" + moreInformation(name) +
           "\n";
}

// The options that every Qt program takes (QGuiApplication's, QApplication's
// and those of the X11 platform), which QApplication reads from the same
// command line: X11 session restore, for one, starts programs with -session.
// Like Qt, a leading "--" is read as "-".
constexpr std::array<std::string_view, 16> QtOptionsWithValue = {
    "-platform",    "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle",       "-session",       "-style",  "-stylesheet",
    "-display",     "-geometry",           "-name",          "-title",  "-icon",
    "-visual"};
constexpr std::array<std::string_view, 5> QtFlags = {"-reverse", "-widgetcount", "-nograb",
                                                     "-dograb", "-testability"};
// Qt's options that take their value after "=".
constexpr std::array<std::string_view, 3> QtValueOptions = {
    "-style=", "-stylesheet=", "-qmljsdebugger="};

enum class QtArgument : std::uint8_t { None, Alone, WithValue };

// Whether `arg` is one of Qt's options, and whether the next argument is its
// value.
QtArgument qtArgument(std::string_view arg) {
    if (arg.starts_with("--")) {
        arg.remove_prefix(1);
    }
    const auto is = [arg](std::string_view name) { return arg == name; };
    if (std::ranges::any_of(QtOptionsWithValue, is)) {
        return QtArgument::WithValue;
    }
    const auto starts = [arg](std::string_view prefix) { return arg.starts_with(prefix); };
    if (std::ranges::any_of(QtFlags, is) || std::ranges::any_of(QtValueOptions, starts)) {
        return QtArgument::Alone;
    }
    return QtArgument::None;
}

// The options, or the first mistake in them. Qt's options are passed over,
// with their values, and left to Qt.
std::variant<Options, std::string> parse(std::span<char* const> args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool valued = arg.starts_with("--") && arg.find('=') != std::string_view::npos;
        const std::string_view name = valued ? arg.substr(0, arg.find('=')) : arg;
        if (name == PortOption) {
            if (options.port) {
                return std::string(PortOption) + " aparece más de una vez.";
            }
            if (valued) {
                options.port = std::string(arg.substr(arg.find('=') + 1));
            } else if (i + 1 < args.size()) {
                options.port = std::string(args[++i]);
            } else {
                return "falta el puerto después de " + std::string(PortOption) + ".";
            }
        } else if (valued && (name == ListOption || name == HelpOption || name == VersionOption)) {
            return std::string(name) + " no lleva ningún valor.";
        } else if (arg == ListOption) {
            options.list = true;
        } else if (arg == HelpOption || arg == HelpAlias) {
            options.help = true;
        } else if (arg == VersionOption) {
            options.version = true;
        } else if (const QtArgument qt = QtTakesItsOptions ? qtArgument(arg) : QtArgument::None;
                   qt != QtArgument::None) {
            if (qt == QtArgument::WithValue && ++i == args.size()) {
                return "falta el valor después de " + std::string(arg) + ".";
            }
        } else if (arg.starts_with('-') && arg != "-") {
            return "opción desconocida: " + std::string(arg) + ".";
        } else {
            return "argumento de más: «" + std::string(arg) + "».";
        }
    }
    return options;
}

} // namespace

std::variant<PortChoice, int> ReadCommandLine(std::span<char* const> args, Program program,
                                              SystemPorts& ports, TextWriter& out,
                                              TextWriter& err) {
    const std::string name(NameOf(program));
    const auto wrong = [&](const std::string& mistake) {
        err.write(name + ": " + mistake + "\n" + Usage(program) + "Más información: " + name + " " +
                  std::string(HelpOption) + "\n");
        return 2;
    };
    const auto parsed = parse(args);
    if (const auto* mistake = std::get_if<std::string>(&parsed)) {
        return wrong(*mistake);
    }
    const auto& options = std::get<Options>(parsed);
    if (options.help) {
        out.write(help(program, ports));
        return 0;
    }
    if (options.version) {
        out.write(name + " " + PP_VERSION + "\n");
        return 0;
    }
    PortChoice choice;
    if (options.port) {
        auto read = ports.readChoice(*options.port);
        if (const auto* mistake = std::get_if<std::string>(&read)) {
            return wrong(*mistake);
        }
        choice = std::get<PortChoice>(std::move(read));
    }
    if (options.list) {
        out.write(ports.listing());
        return 0;
    }
    return choice;
}

} // namespace pp
