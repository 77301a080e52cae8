#include "port/linux/linux_messages.h"

#include "port/port_choice.h"
#include "port/port_messages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace pp {

namespace {

std::string describeError(int error) {
    return std::string(std::strerror(error)) + " (errno " + std::to_string(error) + ")";
}

// "parport0 en 0xD010 (/dev/parport0)", or for a USB bridge without address
// "parport1, sin dirección de E/S (/dev/parport1)".
std::string describePort(const Parport& port) {
    if (!port.hasAddress()) {
        return port.name + ", sin dirección de E/S (" + port.node + ")";
    }
    return port.name + " en " + HexAddress(port.base) + " (" + port.node + ")";
}

// What to give --puerto to use `port`: its address, or its node where it has
// none.
std::string puertoFor(const Parport& port) {
    return port.hasAddress() ? HexAddress(port.base) : port.node;
}

std::string groupName(const GroupAccess& access) {
    return access.group.empty() ? "lp" : access.group;
}

const char* const LoadTheDrivers = "Compruebe que el ordenador tiene puerto paralelo y que está "
                                   "activado en la BIOS, y cargue sus controladores:\n"
                                   "    sudo modprobe parport_pc\n"
                                   "    sudo modprobe ppdev\n";

const char* const NoDriverInKernel =
    "Este núcleo no tiene controlador de puertos paralelos: ni incorporado ni como módulo "
    "(parport_pc), así que modprobe no puede cargarlo. Arranque un núcleo que lo tenga "
    "(CONFIG_PARPORT y CONFIG_PARPORT_PC), como los de Debian.\n";

const char* const KernelNotRead =
    "No se ha podido saber si este núcleo tiene controlador de puertos paralelos: no se pueden "
    "leer ni su lista de módulos (en /lib/modules) ni su configuración (/proc/config.gz o "
    "/boot/config-*), como pasa en un contenedor.\n";

const char* const KernelUpgraded =
    "Los módulos del núcleo que está en marcha ya no están en /lib/modules, pero sí los de "
    "otro núcleo, como pasa cuando se instala uno nuevo y no se reinicia el ordenador: "
    "modprobe no puede cargar los controladores de este. Reinicie el ordenador para arrancar "
    "el núcleo instalado. Si después el sistema sigue sin conocer ningún puerto paralelo:\n";

const char* const ModuleNotInstalled =
    "Según su configuración, este núcleo tiene el controlador de puertos paralelos "
    "(CONFIG_PARPORT_PC), pero el módulo parport_pc no está entre sus módulos instalados: "
    "instale los módulos de este núcleo (en Debian vienen en su paquete linux-image). "
    "Después:\n";

// How to make the kernel's drivers find the ports, where it has them.
std::string loadTheDrivers(const KnownPorts& known) {
    switch (known.kernelDriver) {
    case KernelDriver::Absent:
        return NoDriverInKernel;
    case KernelDriver::Upgraded:
        return std::string(KernelUpgraded) + LoadTheDrivers;
    case KernelDriver::Unknown:
        return std::string(KernelNotRead) + LoadTheDrivers;
    case KernelDriver::NotInstalled:
        return std::string(ModuleNotInstalled) + LoadTheDrivers;
    case KernelDriver::Present:
        break;
    }
    return LoadTheDrivers;
}

// The way that works where direct access does not: said unless the kernel
// surely lacks the driver; how to load it follows in the list of what there
// is.
std::string driverRoute(const KnownPorts& known) {
    if (known.kernelDriver == KernelDriver::Absent) {
        return "";
    }
    return "\nEl camino que sí funciona es el controlador del núcleo (ppdev), sin ser root, para "
           "los usuarios del grupo lp (sudo adduser $USER lp).";
}

std::string whyNotThere(std::uint16_t address, const KnownPorts& known, DirectRefusal refusal) {
    if (known.pcDriverLoaded) {
        return "El controlador de puertos paralelos del sistema (parport_pc) está cargado y no ha "
               "encontrado ningún puerto en esa dirección: ahí no hay nada donde escribir.";
    }
    if (!IsLegacyAddress(address)) {
        return "El sistema no conoce ningún puerto paralelo en esa dirección. El programa solo "
               "escribe directamente en las direcciones clásicas del puerto paralelo (0x378, "
               "0x278 y 0x3BC); en cualquier otra solo usa los puertos que conoce el sistema.";
    }
    const std::string unknown = "El sistema no conoce ningún puerto paralelo en esa dirección";
    switch (refusal) {
    case DirectRefusal::LockedDown:
        return unknown +
               ", y el núcleo prohíbe escribir directamente en los puertos de E/S, incluso "
               "al administrador: está en modo de bloqueo (lockdown), como suele pasar con el "
               "arranque seguro (Secure Boot) de UEFI." +
               driverRoute(known);
    case DirectRefusal::NoIoPorts:
        return unknown +
               ", y este ordenador no permite escribir directamente en puertos de E/S (no es "
               "un PC x86)." +
               driverRoute(known);
    case DirectRefusal::NoIoperm:
        return unknown +
               ", y este núcleo no permite escribir directamente en los puertos de E/S, ni "
               "siquiera al administrador: se compiló sin ese acceso (CONFIG_X86_IOPL_IOPERM)." +
               driverRoute(known);
    case DirectRefusal::NotTried:
    case DirectRefusal::NeedsRoot:
        break;
    }
    return unknown + ", y sin él solo el administrador (root) puede escribir directamente en el "
                     "puerto.";
}

std::string usbPrinterLine(const std::string& node) {
    return node + ": adaptador USB de impresora (usblp); no sirve para este programa";
}

// The USB printer adapters present, which cannot stand in for a port.
std::string usbPrinters(const std::vector<std::string>& nodes) {
    if (nodes.empty()) {
        return "";
    }
    std::string text = "\n\nEste ordenador tiene ";
    text +=
        nodes.size() == 1 ? "un adaptador USB de impresora (" : "adaptadores USB de impresora (";
    for (const std::string& node : nodes) {
        text += node + (&node == &nodes.back() ? "" : ", ");
    }
    text += "): envían trabajos de impresión y no pueden poner las líneas D0-D7 a voluntad, así "
            "que no pueden manejar el display.";
    return text;
}

// The ports the system has, and the command that uses each.
std::string whatThereIs(const KnownPorts& known) {
    if (known.ports.empty()) {
        if (known.pcDriverLoaded) {
            return "El sistema no conoce ningún puerto paralelo. Compruebe que el ordenador "
                   "tiene puerto paralelo y que está activado en la BIOS.\n"
                   "Después vuelva a abrir el programa.";
        }
        return loadTheDrivers(known) + "Después vuelva a abrir el programa.";
    }
    std::vector<PortToUse> ports;
    std::ranges::transform(known.ports, std::back_inserter(ports), [](const Parport& port) {
        return PortToUse{describePort(port), puertoFor(port)};
    });
    return PortsToUse(ports);
}

// Whether this user can use `node`, for --listar.
std::string accessVerdict(const std::string& node, SystemCalls& system) {
    const int access = system.checkAccess(node);
    if (access == 0) {
        return "sí, puede usarlo";
    }
    if (access == -ENOENT) {
        return "no, falta " + node + ": cargue ppdev (sudo modprobe ppdev)";
    }
    if (access != -EACCES && access != -EPERM) {
        return "no, " + describeError(-access);
    }
    const GroupAccess group = system.groupAccess(node);
    const std::string name = groupName(group);
    if (group.inSession) {
        return "no, se lo impide algo más que el grupo " + name +
               " (un módulo de seguridad o un entorno aislado)";
    }
    if (group.listed) {
        return "no todavía: su usuario ya está en el grupo " + name +
               ", pero esta sesión no; cierre la sesión y vuelva a entrar";
    }
    return "no, su usuario no tiene permiso: añádalo al grupo " + name + " (sudo adduser $USER " +
           name + ") y vuelva a entrar en la sesión";
}

} // namespace

std::string UsbPrinterExplanation(const std::string& node) {
    return node +
           " es un adaptador USB de impresora (controlador usblp): envía trabajos de "
           "impresión y no puede poner las líneas D0-D7 a voluntad, así que no puede manejar el "
           "display. Hace falta un puerto paralelo de verdad: el de la placa base o el de una "
           "tarjeta PCI Express o ExpressCard (vea los puertos del sistema con --listar).";
}

std::string NoPortMessage(std::uint16_t address, const KnownPorts& known, DirectRefusal refusal) {
    return "No se encuentra el puerto paralelo " + PortName(IoAddress{address}) + ".\n\n" +
           whyNotThere(address, known, refusal) + "\n\n" + whatThereIs(known) +
           usbPrinters(known.usbPrinters);
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

std::string PermissionDeniedMessage(const std::string& port, const std::string& node,
                                    const GroupAccess& access) {
    const std::string group = groupName(access);
    const std::string head = "No tiene permiso para usar el puerto paralelo " + port + ".\n\n";
    if (access.inSession) {
        return head + "Su sesión ya tiene el grupo " + group +
               " y, aun así, el sistema no le deja abrir " + node +
               ": se lo impide otra cosa, como un módulo de seguridad (AppArmor, SELinux) o un "
               "entorno aislado (Flatpak, Snap, un contenedor).\n\n"
               "Compruebe los permisos del dispositivo (ls -l " +
               node +
               ") y los avisos del sistema (sudo journalctl -k), o abra el programa fuera de ese "
               "entorno.";
    }
    if (access.listed) {
        return head + "Su usuario ya está en el grupo " + group +
               ", pero esta sesión empezó antes de que lo añadieran y todavía no lo tiene.\n\n"
               "Cierre la sesión y vuelva a entrar (o reinicie el ordenador), y abra de nuevo "
               "el programa.";
    }
    return head + node +
           " existe, pero su usuario no puede abrirlo.\n\n"
           "Añada su usuario al grupo " +
           group +
           ":\n"
           "    sudo adduser $USER " +
           group +
           "\n"
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
           "Mire los avisos del núcleo (sudo dmesg) y vuelva a abrir el programa.";
}

std::string PortBusyMessage(const std::string& port, PortByte value, const std::string& holder) {
    std::string text = "El puerto paralelo " + port +
                       " está ocupado por otro programa: no se ha escrito el byte " +
                       ByteName(value) + ".\n\n";
    if (holder.starts_with("lp")) {
        return text + "Lo tiene el controlador de impresora del sistema (" + holder +
               "), que lo reserva mientras imprime. Espere a que termine y vuelva a "
               "intentarlo; si no usa ninguna impresora en este puerto, quite ese "
               "controlador:\n"
               "    sudo modprobe -r lp";
    }
    if (holder.starts_with("ppdev")) {
        text +=
            "Lo tiene reservado otro programa a través de /dev/parport" + holder.substr(5) + ". ";
    }
    return text + "Cierre ese programa, o espere a que deje libre el puerto, y vuelva a "
                  "intentarlo.";
}

std::string PortGoneMessage(const std::string& port, const std::string& node, PortByte value) {
    return "El puerto paralelo " + port + " ha desaparecido: no se ha escrito el byte " +
           ByteName(value) + ".\n\nYa no existe " + node +
           ": se ha desconectado el adaptador (USB o ExpressCard) o se ha quitado el "
           "controlador del puerto. Vuelva a conectarlo (o a cargar el controlador: sudo "
           "modprobe parport_pc) y vuelva a intentarlo: el programa lo buscará de nuevo.";
}

std::string WriteFailedMessage(const std::string& port, const std::string& node, PortByte value,
                               int error) {
    return "No se ha podido escribir el byte " + ByteName(value) + " en el puerto paralelo " +
           port + " (" + node + "): " + describeError(error) +
           ".\n\n"
           "El programa sigue abierto: vuelva a intentarlo, y si no funciona mire los avisos "
           "del núcleo (sudo dmesg).";
}

std::string PortListing(const KnownPorts& known, SystemCalls& system) {
    std::string text;
    if (known.ports.empty()) {
        text = "El sistema no conoce ningún puerto paralelo.\n" + loadTheDrivers(known);
    }
    for (const Parport& port : known.ports) {
        text += describePort(port) + ": " + accessVerdict(port.node, system) + "\n";
    }
    for (const std::string& node : known.usbPrinters) {
        text += usbPrinterLine(node) + ": envía trabajos de impresión y no puede poner D0-D7 a "
                                       "voluntad\n";
    }
    return text;
}

} // namespace pp
