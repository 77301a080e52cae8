#include "port/port_messages.h"

#include <cstring>

namespace pp {

namespace {

std::string describeError(int error) {
    return std::string(std::strerror(error)) + " (errno " + std::to_string(error) + ")";
}

} // namespace

std::string NoPortMessage() {
    return "No se encuentra el puerto paralelo 0x378 (888).\n\n"
           "El sistema no conoce ningún puerto paralelo en esa dirección, y sin él "
           "solo el administrador (root) puede escribir directamente en el puerto.\n\n"
           "Compruebe que el ordenador tiene puerto paralelo y que está activado en la "
           "BIOS, y cargue sus controladores:\n"
           "    sudo modprobe parport_pc\n"
           "    sudo modprobe ppdev\n"
           "Después vuelva a abrir el programa.";
}

std::string NoDeviceNodeMessage(const std::string& parport, const std::string& node) {
    return "No se puede usar el puerto paralelo 0x378 (888).\n\n"
           "El sistema conoce el puerto (" +
           parport + "), pero no existe " + node +
           ": el módulo ppdev no está cargado.\n\n"
           "Cárguelo con:\n"
           "    sudo modprobe ppdev\n"
           "Después vuelva a abrir el programa.";
}

std::string PermissionDeniedMessage(const std::string& node) {
    return "No tiene permiso para usar el puerto paralelo 0x378 (888).\n\n" + node +
           " existe, pero su usuario no puede abrirlo.\n\n"
           "Añada su usuario al grupo lp:\n"
           "    sudo adduser $USER lp\n"
           "Después cierre la sesión, vuelva a entrar y abra de nuevo el programa.";
}

std::string OpenFailedMessage(const std::string& node, int error) {
    return "No se puede abrir " + node +
           " para usar el puerto paralelo 0x378 (888): " + describeError(error) +
           ".\n\n"
           "Compruebe que el módulo ppdev está cargado (sudo modprobe ppdev) y vuelva a "
           "abrir el programa.";
}

std::string ClaimFailedMessage(const std::string& node, int error) {
    return "No se puede reservar el puerto paralelo 0x378 (888) a través de " + node + ": " +
           describeError(error) +
           ".\n\n"
           "Puede que otro controlador lo tenga ocupado, por ejemplo el de impresora "
           "(quítelo con: sudo modprobe -r lp). Después vuelva a abrir el programa.";
}

} // namespace pp
