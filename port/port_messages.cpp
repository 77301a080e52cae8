#include "port/port_messages.h"

#include "port/port_choice.h"

#include <cerrno>
#include <cstring>

namespace pp {

namespace {

std::string describeError(int error) {
    return std::string(std::strerror(error)) + " (errno " + std::to_string(error) + ")";
}

// "parport0 en 0xD010 (/dev/parport0)"
std::string describePort(const Parport& port) {
    return port.name + " en " + HexAddress(port.base) + " (" + port.node + ")";
}

const char* const LoadTheDrivers = "Compruebe que el ordenador tiene puerto paralelo y que está "
                                   "activado en la BIOS, y cargue sus controladores:\n"
                                   "    sudo modprobe parport_pc\n"
                                   "    sudo modprobe ppdev\n";

std::string whyNotThere(std::uint16_t address, bool pcDriverLoaded) {
    if (pcDriverLoaded) {
        return "El controlador de puertos paralelos del sistema (parport_pc) está cargado y no ha "
               "encontrado ningún puerto en esa dirección: ahí no hay nada donde escribir.";
    }
    if (!IsLegacyAddress(address)) {
        return "El sistema no conoce ningún puerto paralelo en esa dirección. El programa solo "
               "escribe directamente en las direcciones clásicas del puerto paralelo (0x378, "
               "0x278 y 0x3BC); en cualquier otra solo usa los puertos que conoce el sistema.";
    }
    return "El sistema no conoce ningún puerto paralelo en esa dirección, y sin él solo el "
           "administrador (root) puede escribir directamente en el puerto.";
}

// The ports the system has, and the command that uses each.
std::string whatThereIs(const std::vector<Parport>& ports, bool pcDriverLoaded) {
    if (ports.empty()) {
        if (pcDriverLoaded) {
            return "El sistema no conoce ningún puerto paralelo. Compruebe que el ordenador "
                   "tiene puerto paralelo y que está activado en la BIOS.\n"
                   "Después vuelva a abrir el programa.";
        }
        return std::string(LoadTheDrivers) + "Después vuelva a abrir el programa.";
    }
    const bool one = ports.size() == 1;
    std::string text = one ? "El sistema tiene este puerto paralelo:\n"
                           : "El sistema tiene estos puertos paralelos:\n";
    for (const Parport& port : ports) {
        text += "    " + describePort(port) + "\n";
    }
    text += one ? "Para usarlo, abra el programa así:\n"
                : "Para usar uno, abra el programa con su dirección:\n";
    for (const Parport& port : ports) {
        text += "    puerto-paralelo --puerto " + HexAddress(port.base) + "\n";
    }
    text.pop_back();
    return text;
}

} // namespace

std::string NoPortMessage(std::uint16_t address, bool pcDriverLoaded,
                          const std::vector<Parport>& ports) {
    return "No se encuentra el puerto paralelo " + PortName({address, ""}) + ".\n\n" +
           whyNotThere(address, pcDriverLoaded) + "\n\n" + whatThereIs(ports, pcDriverLoaded);
}

std::string NoDeviceNodeMessage(const std::string& port, const std::string& parport,
                                const std::string& node) {
    return "No se puede usar el puerto paralelo " + port +
           ".\n\n"
           "El sistema conoce el puerto (" +
           parport + "), pero no existe " + node +
           ": el módulo ppdev no está cargado.\n\n"
           "Cárguelo con:\n"
           "    sudo modprobe ppdev\n"
           "Después vuelva a abrir el programa.";
}

std::string NoDeviceMessage(const std::string& node) {
    return "No se puede usar el puerto paralelo " + node +
           ".\n\n"
           "Ya no hay ningún puerto detrás de " +
           node +
           ": el módulo ppdev no está cargado o el puerto ha desaparecido.\n\n"
           "Cargue ppdev (sudo modprobe ppdev) y vea los puertos del sistema con:\n"
           "    puerto-paralelo --listar\n"
           "Después vuelva a abrir el programa.";
}

std::string PermissionDeniedMessage(const std::string& port, const std::string& node) {
    return "No tiene permiso para usar el puerto paralelo " + port + ".\n\n" + node +
           " existe, pero su usuario no puede abrirlo.\n\n"
           "Añada su usuario al grupo lp:\n"
           "    sudo adduser $USER lp\n"
           "Después cierre la sesión, vuelva a entrar y abra de nuevo el programa.";
}

std::string OpenFailedMessage(const std::string& port, const std::string& node, int error) {
    return "No se puede abrir " + node + " para usar el puerto paralelo " + port + ": " +
           describeError(error) +
           ".\n\n"
           "Compruebe que el módulo ppdev está cargado (sudo modprobe ppdev) y vuelva a "
           "abrir el programa.";
}

std::string ClaimFailedMessage(const std::string& port, const std::string& node, int error) {
    return "No se puede reservar el puerto paralelo " + port + " a través de " + node + ": " +
           describeError(error) +
           ".\n\n"
           "Puede que otro controlador lo tenga ocupado, por ejemplo el de impresora "
           "(quítelo con: sudo modprobe -r lp). Después vuelva a abrir el programa.";
}

std::string PortListing(const std::vector<Parport>& ports, SystemCalls& system) {
    if (ports.empty()) {
        return std::string("El sistema no conoce ningún puerto paralelo.\n") + LoadTheDrivers;
    }
    std::string text;
    for (const Parport& port : ports) {
        text += describePort(port) + ": ";
        const int access = system.checkAccess(port.node);
        if (access == 0) {
            text += "sí, puede usarlo";
        } else if (access == -ENOENT) {
            text += "no, falta " + port.node + ": cargue ppdev (sudo modprobe ppdev)";
        } else if (access == -EACCES || access == -EPERM) {
            text += "no, su usuario no tiene permiso: añádalo al grupo lp (sudo adduser $USER "
                    "lp) y vuelva a entrar en la sesión";
        } else {
            text += "no, " + describeError(-access);
        }
        text += "\n";
    }
    return text;
}

} // namespace pp
