#include "ui/options.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace pp {

namespace {

struct OptionDescription {
    std::string_view name;     // "--puerto"
    std::string_view alias;    // "-h", or empty
    std::string_view argument; // "P", or empty
    // For --help: plain text, wrapped to the terminal's 80 columns.
    std::string_view help;
    // For the manual page, one paragraph: `text` in bold, *text* in italics.
    std::string_view manual;
};

// A paragraph after the options: `help` (empty for none) in --help, `manual`
// in the manual page; `qt` where only the Qt window takes what it says.
struct OptionNote {
    std::string_view help;
    std::string_view manual;
    bool qt;
};

constexpr OptionDescription ListRow = {
    ListOption, "", "",
    "muestra los puertos paralelos que conoce el sistema y si puede usarlos, y termina",
    "Muestra los puertos paralelos que conoce el sistema, uno por línea: su nombre, su dirección "
    "en hexadecimal (un puente USB no tiene), su dispositivo y si su usuario puede usarlo (sí; "
    "no, porque no está en el grupo `lp`; no todavía, porque está en el grupo pero la sesión "
    "empezó antes; no, porque algo más que el grupo se lo impide; no, porque falta el "
    "dispositivo: cargue `ppdev`). Después nombra los adaptadores USB de impresora, que no "
    "sirven. No abre ninguna ventana ni ningún dispositivo, y no escribe en ningún puerto."};
constexpr OptionDescription HelpRow = {HelpOption, HelpAlias, "", "muestra esta ayuda y termina",
                                       "Muestra la ayuda y termina."};
constexpr OptionDescription VersionRow = {VersionOption, "", "", "muestra la versión y termina",
                                          "Muestra la versión y termina."};

constexpr std::array PuertoParaleloOptions = {
    OptionDescription{
        PortOption, "", "P", "el puerto en el que escribir, en lugar del 0x378:",
        "Escribe en el puerto *P* en lugar del 0x378. *P* es la dirección de E/S del registro de "
        "datos del puerto, en hexadecimal (`0xD010` o `0xd010`) o en decimal (`53264`), entre "
        "0x1 y 0xFFFF, o su dispositivo ppdev (`/dev/parport1`). Las tarjetas PCI Express y "
        "ExpressCard tienen su puerto en direcciones como 0xD010, 0xDC00 o 0xE000; `--listar` "
        "dice cuál. Los puentes USB a paralelo que el núcleo maneja como puertos (`uss720`) no "
        "tienen dirección: se eligen por su dispositivo. Un adaptador USB de impresora "
        "(*/dev/usb/lpN*, controlador `usblp`) no sirve: envía trabajos de impresión y no puede "
        "poner D0–D7 a voluntad, y el programa lo dice."},
    ListRow, HelpRow, VersionRow};

constexpr std::array DemoOptions = {
    OptionDescription{
        PortOption, "", "P", "el puerto que se simula, en lugar del 0x378:",
        "Simula el puerto *P* en lugar del 0x378: cada línea impresa y el título del display lo "
        "nombran (`0xD010 <- 0x77 ...`). *P* se escribe como en `puerto-paralelo`(1): una "
        "dirección de E/S entre 0x1 y 0xFFFF, en hexadecimal (`0xD010`) o en decimal (`53264`), "
        "o un dispositivo ppdev (`/dev/parport1`), que debe existir."},
    OptionDescription{
        ListOption, "", "", ListRow.help,
        "Muestra los puertos paralelos que conoce el sistema, como `puerto-paralelo --listar`, y "
        "termina."},
    HelpRow, VersionRow};

constexpr std::array Notes = {
    OptionNote{"Acepta además las opciones de cualquier programa Qt, como -platform, -style, "
               "-display o -session, que pasan a Qt.",
               "Acepta además las opciones de cualquier programa Qt (`-platform`, `-style`, "
               "`-display`, `-session`, `-reverse`...), que pasan a Qt; con `-session` lo abre "
               "la restauración de sesión de X11.",
               true},
    OptionNote{"",
               "`--help`, `--version` y `--listar` no necesitan pantalla gráfica: funcionan "
               "también por ssh.",
               false},
};

// Characters, not bytes: the texts are UTF-8.
std::size_t width(std::string_view text) {
    return static_cast<std::size_t>(std::ranges::count_if(
        text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// `text` in lines of at most `columns` characters where its words allow,
// the first after `first` characters already written, the others indented.
std::string wrapped(std::string_view text, std::size_t first, std::size_t indent,
                    std::size_t columns) {
    std::string out;
    std::size_t column = first;
    bool lineEmpty = true;
    while (!text.empty()) {
        const std::size_t end = text.find(' ');
        const std::string_view word = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (word.empty()) {
            continue;
        }
        if (!lineEmpty && column + 1 + width(word) > columns) {
            out += '\n' + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += width(word);
        lineEmpty = false;
    }
    return out + '\n';
}

constexpr std::size_t Columns = 80;
constexpr std::size_t HelpIndent = 15;

// "-h, --help": the option's names.
std::string names(const OptionDescription& option) {
    std::string text(option.alias);
    text += text.empty() ? "" : ", ";
    text += option.name;
    return text;
}

// "--puerto P": NAMES and the option's argument, if it takes one.
std::string withArgument(const std::string& names, const OptionDescription& option) {
    return option.argument.empty() ? names : names + " " + std::string(option.argument);
}

// One paragraph of the manual's own markup in troff: `bold`, *italics*,
// minus signs where the text has "-" (options, commands), and no line that
// troff would read as a request.
std::string troff(std::string_view text) {
    std::string out;
    bool bold = false;
    bool italic = false;
    for (const char c : text) {
        if (c == '`' || c == '*') {
            bool& on = c == '`' ? bold : italic;
            on = !on;
            out += on ? (c == '`' ? "\\fB" : "\\fI") : "\\fR";
        } else if (c == '-') {
            out += "\\-";
        } else if (c == '\\') {
            out += "\\e";
        } else {
            out += c;
        }
    }
    if (bold || italic) {
        out += "\\fR";
    }
    std::string lines = wrapped(out, 0, 0, 78);
    for (std::size_t at = 0; at < lines.size(); at = lines.find('\n', at) + 1) {
        if (lines[at] == '.' || lines[at] == '\'') {
            lines.insert(at, "\\&");
        }
    }
    return lines;
}

// A name or an option within a request's line.
std::string inlineTroff(std::string_view text) {
    std::string line = troff(text);
    line.pop_back();
    return line;
}

std::span<const OptionDescription> OptionsOf(Program program) {
    if (program == Program::Demo) {
        return DemoOptions;
    }
    return PuertoParaleloOptions;
}

} // namespace

std::string_view NameOf(Program program) {
    return program == Program::Demo ? "puerto-paralelo-demo" : "puerto-paralelo";
}

std::string Usage(Program program) {
    std::string text = "Uso: " + std::string(NameOf(program));
    for (const OptionDescription& option : OptionsOf(program)) {
        text += " [" + withArgument(std::string(option.name), option) + "]";
    }
    return text + '\n';
}

std::string OptionsHelp(Program program, std::string_view portForms, bool qt) {
    std::string text = "Opciones:\n";
    for (const OptionDescription& option : OptionsOf(program)) {
        std::string line = "  " + withArgument(names(option), option);
        if (width(line) + 2 > HelpIndent) {
            line += '\n' + std::string(HelpIndent, ' ');
        } else {
            line.resize(HelpIndent, ' ');
        }
        text += line + wrapped(option.help, HelpIndent, HelpIndent, Columns);
        if (option.name == PortOption) {
            text += portForms;
        }
    }
    for (const OptionNote& note : Notes) {
        if (!note.help.empty() && (qt || !note.qt)) {
            text += wrapped(note.help, 0, 0, Columns);
        }
    }
    return text;
}

std::string OptionsManual(Program program) {
    std::string text = ".SH OPCIONES\n";
    for (const OptionDescription& option : OptionsOf(program)) {
        text += ".TP\n";
        // The names in bold, the argument in italics.
        const std::string bold = inlineTroff(names(option));
        text += option.argument.empty()
                    ? ".B \"" + bold + "\"\n"
                    : ".BI \"" + bold + "\" \" " + std::string(option.argument) + "\"\n";
        text += troff(option.manual);
    }
    for (const OptionNote& note : Notes) {
        text += ".PP\n" + troff(note.manual);
    }
    return text;
}

} // namespace pp
