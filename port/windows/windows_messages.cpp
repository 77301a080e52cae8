#include "port/windows/windows_messages.h"

#include "port/port_choice.h"
#include "port/port_messages.h"

namespace pp {

namespace {

std::string getInpOut() {
    return std::string("Descargue InpOut x64 (InpOut32 e InpOutx64, gratuito: ") + InpOutSite +
           ") y copie el archivo inpoutx64.dll de su carpeta x64";
}

// "LPT3 en 0xE050 (Puerto de impresora ECP (LPT3))"
std::string describePort(const WindowsParport& port) {
    if (port.ranges.empty()) {
        return port.name + ", sin dirección de E/S (" + port.description + ")";
    }
    return port.name + " en " + HexAddress(port.ranges.front().first) + " (" + port.description +
           ")";
}

std::string ranges(const WindowsParport& port) {
    std::string text;
    for (const IoRange& range : port.ranges) {
        text += (text.empty() ? "" : ", ") + HexAddress(range.first) + "-" + HexAddress(range.last);
    }
    return text;
}

} // namespace

std::string NoWindowsPortMessage(std::uint16_t address, const std::vector<WindowsParport>& ports) {
    std::string text = "No se encuentra el puerto paralelo " + PortName(IoAddress{address}) +
                       ".\n\n"
                       "Windows no conoce ningún puerto paralelo en esa dirección. El programa "
                       "solo escribe en las direcciones clásicas del puerto paralelo (0x378, "
                       "0x278 y 0x3BC) o en la de un puerto que Windows tenga en su lista de "
                       "dispositivos: una dirección mal escrita podría ser la de otro aparato.\n\n";
    std::vector<PortToUse> usable;
    for (const WindowsParport& port : ports) {
        if (!port.ranges.empty()) {
            usable.push_back({describePort(port), HexAddress(port.ranges.front().first)});
        }
    }
    if (usable.empty()) {
        return text + "Windows no tiene ningún puerto paralelo en su lista. Compruebe en el "
                      "Administrador de dispositivos, en «Puertos (COM y LPT)», que el puerto "
                      "aparece y funciona; su dirección está en la pestaña «Recursos».";
    }
    return text + PortsToUse(usable);
}

std::string InpOutMessage(const InpOutLoad& load, const std::string& folder) {
    const std::string head = "No se puede escribir en el puerto paralelo: ";
    switch (load.failure) {
    case InpOutFailure::Missing:
        return head +
               "falta inpoutx64.dll, la biblioteca con la que el programa llega al puerto en "
               "Windows de 64 bits.\n\n" +
               getInpOut() + " en la carpeta del programa:\n    " + folder +
               "\nDespués vuelva a abrir el programa; la primera vez, como administrador, para "
               "que InpOut instale su controlador.";
    case InpOutFailure::NotX64:
        return head + load.path +
               " no es una biblioteca de Windows de 64 bits: quizá es inpout32.dll, la de 32 "
               "bits, con otro nombre.\n\n" +
               getInpOut() + " en su lugar, y vuelva a abrir el programa.";
    case InpOutFailure::NoOut32:
    case InpOutFailure::NoDriverCheck:
        return head + load.path + " no tiene la función " +
               (load.failure == InpOutFailure::NoOut32 ? "Out32" : "IsInpOutDriverOpen") +
               ": no es InpOut x64, o es una versión de 32 bits.\n\n" + getInpOut() +
               " en su lugar, y vuelva a abrir el programa.";
    case InpOutFailure::LoadFailed:
        return head + "Windows no puede cargar " + load.path + " (error " +
               std::to_string(load.error) + ").\n\n" + getInpOut() +
               " de nuevo, y vuelva a abrir el programa.";
    case InpOutFailure::None:
        break;
    }
    return head + "InpOut x64 no responde.";
}

std::string InpOutDriverClosedMessage(const std::string& path) {
    return "No se puede escribir en el puerto paralelo: InpOut x64 está (" + path +
           "), pero su controlador no está abierto.\n\n"
           "La primera vez hay que abrir el programa como administrador (clic derecho en "
           "Puerto Paralelo, «Ejecutar como administrador»): InpOut instala entonces su "
           "controlador, y después el programa funciona sin serlo. Si aun así no se abre, puede "
           "que Windows no deje cargar el controlador (la integridad de memoria, en Seguridad "
           "de Windows, lo impide).";
}

std::string WindowsPortListing(const std::vector<WindowsParport>& ports) {
    if (ports.empty()) {
        return "Windows no conoce ningún puerto paralelo. Compruebe en el Administrador de "
               "dispositivos, en «Puertos (COM y LPT)», que el puerto aparece y que su "
               "controlador está instalado.\n";
    }
    std::string text;
    for (const WindowsParport& port : ports) {
        text += describePort(port);
        if (port.ranges.size() > 1) {
            text += ", E/S " + ranges(port);
        }
        text += "\n";
    }
    return text;
}

} // namespace pp
