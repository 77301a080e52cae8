#include "port/windows/windows_messages.h"

#include "port/port_choice.h"
#include "port/port_messages.h"

namespace pp {

namespace {

std::string getInpOut(const InpOutEdition& edition) {
    return "Descargue " + std::string(edition.name) +
           " (InpOut32 e InpOutx64, gratuito: " + InpOutSite + ") y copie el archivo " +
           std::string(edition.library) + " de su carpeta " + std::string(edition.folder);
}

// The bits of the Windows the other edition is for.
std::string otherBits(const InpOutEdition& edition) {
    return edition.bits == "64" ? "32" : "64";
}

// "LPT3 en 0xE050 (Puerto de impresora ECP (LPT3))"
std::string describePort(const WindowsParport& port) {
    if (port.ranges.empty()) {
        return port.name + ", sin dirección de E/S (" + port.description + ")";
    }
    return port.name + " en " + HexAddress(DataRegister(port)) + " (" + port.description + ")";
}

std::string ranges(const WindowsParport& port) {
    std::string text;
    for (const IoRange& range : port.ranges) {
        text += (text.empty() ? "" : ", ") + HexAddress(range.first) + "-" + HexAddress(range.last);
    }
    return text;
}

constexpr const char* CoreIsolation =
    "Seguridad de Windows › Seguridad del dispositivo › Aislamiento del núcleo";
constexpr const char* LinuxNeedsNone =
    " En Linux el programa llega al puerto con el controlador del núcleo (ppdev), que no necesita "
    "nada de esto.";
// Windows Vista's first build: before it (XP) there is no elevation, nor a
// log of the drivers Windows refused.
constexpr unsigned long VistaBuild = 6000;

bool beforeVista(const InpOutState& state) {
    return state.windowsBuild != 0 && state.windowsBuild < VistaBuild;
}

// How to open the program as an administrator; on XP, as an administrator's
// account.
std::string asAdministrator(const InpOutState& state) {
    return beforeVista(state)
               ? "(clic derecho en Puerto Paralelo, «Ejecutar como…», y elija una cuenta de "
                 "administrador)"
               : "(clic derecho en Puerto Paralelo, «Ejecutar como administrador»)";
}

std::string serviceState(const InpOutState& state) {
    switch (state.service) {
    case DriverService::Missing:
        return "no está instalado";
    case DriverService::Stopped:
        return state.serviceError == 0 ? std::string("está instalado, pero parado")
                                       : "está instalado, pero parado (error " +
                                             std::to_string(state.serviceError) + ")";
    case DriverService::Running:
        return "está en marcha";
    case DriverService::Unknown:
        break;
    }
    return "no se sabe cómo está (Windows no lo dice)";
}

// " (el servicio inpoutx64 está en marcha)", where the service is known by
// name; `that` puts "que" before its state.
std::string serviceNote(const InpOutState& state, bool that = false) {
    if (state.edition.service.empty()) {
        return "";
    }
    return " (el servicio " + std::string(state.edition.service) + (that ? ", que " : " ") +
           serviceState(state) + ")";
}

// Why the blocklist is on where its switch does not say so.
std::string blocklistReason(const InpOutState& state) {
    if (state.memoryIntegrity == Protection::On) {
        return " (la mantiene la integridad de memoria)";
    }
    if (state.smartAppControl == Protection::On) {
        return " (la mantiene el control inteligente de aplicaciones)";
    }
    if (state.blocklist == Protection::Unknown) {
        return " (esta versión de Windows la trae activada)";
    }
    return "";
}

} // namespace

std::string NoWindowsPortMessage(std::uint16_t address, const WindowsPortList& ports) {
    std::string text =
        "No se encuentra el puerto paralelo " + PortName(IoAddress{address}) + ".\n\n";
    if (!ports) {
        return text + "Windows no ha podido dar su lista de dispositivos, y sin ella el programa "
                      "solo escribe en las direcciones clásicas del puerto paralelo (0x378, "
                      "0x278 y 0x3BC): una dirección mal escrita podría ser la de otro aparato. "
                      "Busque la dirección del puerto en el Administrador de dispositivos, en "
                      "«Puertos (COM y LPT)», pestaña «Recursos».";
    }
    std::vector<PortToUse> usable;
    for (const WindowsParport& port : *ports) {
        if (!port.ranges.empty()) {
            usable.push_back({describePort(port), HexAddress(DataRegister(port))});
        }
    }
    if (usable.empty()) {
        return text +
               "Windows no tiene ningún puerto paralelo en su lista de dispositivos, así que no "
               "hay nada en esa dirección y el programa no escribe en ella. Si el PC tiene "
               "puerto paralelo, compruebe en el Administrador de dispositivos, en «Puertos (COM "
               "y LPT)», que aparece y funciona (su dirección está en la pestaña «Recursos»), y "
               "que está activado en la configuración de la BIOS (o UEFI) del PC; una tarjeta "
               "PCI Express necesita además su controlador.";
    }
    return text +
           "Windows no tiene ningún puerto paralelo con su registro de datos en esa dirección, "
           "y el programa solo escribe en el registro de datos de un puerto que Windows tiene: "
           "en otra dirección el byte no llegaría a ningún puerto, llegaría a otro aparato o "
           "cambiaría la configuración del propio puerto.\n\n" +
           PortsToUse(usable);
}

std::string InpOutMessage(const InpOutLoad& load, const std::string& folder,
                          const std::string& system) {
    const InpOutEdition& edition = load.edition;
    const std::string head = "No se puede escribir en el puerto paralelo: ";
    const std::string bits(edition.bits);
    switch (load.failure) {
    case InpOutFailure::Missing:
        return head + "falta " + std::string(edition.library) +
               ", la biblioteca con la que el programa llega al puerto en su versión de " + bits +
               " bits.\n\n" + getInpOut(edition) + " en la carpeta del programa:\n    " + folder +
               "\n(o en la carpeta del sistema, " + system +
               "; el programa no la busca en ningún otro sitio).\nDespués vuelva a abrir el "
               "programa; la primera vez, como administrador, para que InpOut instale su "
               "controlador.";
    case InpOutFailure::OtherMachine:
        return head + load.path + " no es una biblioteca de Windows de " + bits +
               " bits: quizá es " + std::string(edition.other) + ", la de " + otherBits(edition) +
               " bits, con otro nombre.\n\n" + getInpOut(edition) +
               " en su lugar, y vuelva a abrir el programa.";
    case InpOutFailure::NoOut32:
    case InpOutFailure::NoDriverCheck:
        return head + load.path + " no tiene la función " +
               (load.failure == InpOutFailure::NoOut32 ? "Out32" : "IsInpOutDriverOpen") +
               ": no es " + std::string(edition.name) + ", o es la versión de " +
               otherBits(edition) + " bits.\n\n" + getInpOut(edition) +
               " en su lugar, y vuelva a abrir el programa.";
    case InpOutFailure::LoadFailed:
        return head + "Windows no puede cargar " + load.path + " (error " +
               std::to_string(load.error) + ").\n\n" + getInpOut(edition) +
               " de nuevo, y vuelva a abrir el programa.";
    case InpOutFailure::None:
        break;
    }
    return head + std::string(edition.name) + " no responde.";
}

std::string InpOutDriverClosedMessage(const std::string& path, const InpOutState& state) {
    std::string text =
        "No se puede escribir en el puerto paralelo: " + std::string(state.edition.name) +
        " está (" + path + "), pero su controlador no está abierto.\n\n";
    const bool protections = DriverProtectionsApply(state);
    if (protections && state.memoryIntegrity == Protection::On) {
        text += std::string("La integridad de memoria de Windows está activada, y con ella el "
                            "controlador de InpOut (de 2008) no se carga, abra quien abra el "
                            "programa: no cumple sus reglas, y la integridad de memoria "
                            "mantiene además activada la lista de bloqueo de controladores "
                            "vulnerables. Se desactiva en ") +
                CoreIsolation +
                " › Integridad de memoria, y después hay que reiniciar el PC. Desactivarla baja "
                "la protección del PC frente a programas maliciosos.";
        if (state.blocklist != Protection::Off && state.windowsBuild >= BlocklistByDefaultBuild) {
            text += std::string(" Si después el controlador sigue sin cargarse, desactive "
                                "también, en el mismo sitio, la lista de bloqueo de "
                                "controladores vulnerables de Microsoft, que esta versión de "
                                "Windows trae activada.");
        }
        if (state.service == DriverService::Missing) {
            text += " Luego abra el programa una vez como administrador " + asAdministrator(state) +
                    " para que InpOut instale su controlador.";
        }
        return text + LinuxNeedsNone;
    }
    const bool blocklistOn = protections && DriverBlocklist(state) == Protection::On;
    if (blocklistOn && state.smartAppControl == Protection::On &&
        state.service != DriverService::Running) {
        return text +
               "El control inteligente de aplicaciones (Smart App Control) de Windows está "
               "activado, y con él la lista de bloqueo de controladores vulnerables de "
               "Microsoft, que no deja arrancar el controlador de InpOut" +
               serviceNote(state) +
               ". Se desactiva en Seguridad de Windows › Control de aplicaciones y navegador › "
               "Configuración de Control inteligente de aplicaciones (Windows no deja volver a "
               "activarlo sin reinstalarse); después desactive la lista de bloqueo en " +
               CoreIsolation +
               " › Lista de bloqueo de controladores vulnerables de Microsoft y reinicie el PC. "
               "Desactivarlos baja la protección del PC frente a programas maliciosos." +
               LinuxNeedsNone;
    }
    if (blocklistOn && state.service != DriverService::Running) {
        return text +
               "La lista de bloqueo de controladores vulnerables de Microsoft está activada" +
               blocklistReason(state) + " y no deja arrancar el controlador de InpOut" +
               serviceNote(state) + ". Se desactiva en " + CoreIsolation +
               " › Lista de bloqueo de controladores vulnerables de Microsoft, y después hay que "
               "reiniciar el PC. Desactivarla baja la protección del PC frente a controladores "
               "con fallos conocidos." +
               LinuxNeedsNone;
    }
    if (!state.elevated && state.service == DriverService::Missing) {
        return text +
               "InpOut todavía no ha instalado su controlador. La primera vez hay que "
               "abrir el programa como administrador " +
               asAdministrator(state) +
               ": InpOut instala entonces su controlador, y después el programa funciona sin "
               "serlo.";
    }
    if (!state.elevated && state.edition.service.empty()) {
        return text + "Abra el programa una vez como administrador " + asAdministrator(state) +
               " para que InpOut instale su controlador o lo ponga en marcha; después el "
               "programa funciona sin serlo.";
    }
    if (!state.elevated) {
        return text + "El controlador de InpOut (el servicio " +
               std::string(state.edition.service) + ") " + serviceState(state) +
               ". Abra el programa una vez como administrador " + asAdministrator(state) +
               " para que InpOut lo ponga en marcha.";
    }
    return text +
           "El programa se ha abierto como administrador y aun así el controlador de InpOut" +
           serviceNote(state, true) +
           " no se abre: algo lo impide, probablemente un programa de seguridad (un antivirus, "
           "o el antitrampas de un juego)." +
           (beforeVista(state)
                ? std::string()
                : std::string(" Windows anota los controladores que no deja cargar en el Visor de "
                              "eventos, en Registros de aplicaciones y servicios › Microsoft › "
                              "Windows › CodeIntegrity › Operational."));
}

std::string WindowsPortListing(const WindowsPortList& ports, const InpOutState& state) {
    std::string text;
    if (!ports) {
        text = "Windows no ha podido dar su lista de dispositivos.\n";
    } else if (ports->empty()) {
        text = "Windows no conoce ningún puerto paralelo. Compruebe en el Administrador de "
               "dispositivos, en «Puertos (COM y LPT)», que el puerto aparece y que su "
               "controlador está instalado, y en la BIOS (o UEFI) del PC que está activado.\n";
    }
    for (const WindowsParport& port : ports.value_or(std::vector<WindowsParport>{})) {
        text += describePort(port);
        if (port.ranges.size() > 1) {
            text += ", E/S " + ranges(port);
        }
        text += "\n";
    }
    const auto protection = [](Protection protection) {
        switch (protection) {
        case Protection::On:
            return "activada";
        case Protection::Off:
            return "desactivada";
        case Protection::Unknown:
            break;
        }
        return "no se sabe (Windows no lo dice)";
    };
    text += std::string(state.edition.library) + ": " +
            (state.library.empty() ? std::string("falta (ni en la carpeta del programa ni en la "
                                                 "del sistema)")
                                   : state.library) +
            "\n";
    if (!state.edition.service.empty()) {
        text += "Controlador de InpOut (servicio " + std::string(state.edition.service) +
                "): " + serviceState(state) + "\n";
    }
    // Neither exists on 32-bit Windows, nor before Windows 10.
    if (!DriverProtectionsApply(state)) {
        return text;
    }
    text += std::string("Integridad de memoria: ") + protection(state.memoryIntegrity) + "\n";
    const Protection blocklist = DriverBlocklist(state);
    text += std::string("Lista de bloqueo de controladores vulnerables: ") + protection(blocklist) +
            (blocklist == Protection::On ? blocklistReason(state) : "") + "\n";
    return text;
}

} // namespace pp
