/* A stand-in for Windows' Configuration Manager (cfgmgr32.dll) in the Wine
 * tests, which Wine does not implement far enough. Its device list holds the
 * parallel ports named in PP_PORTS, a comma-separated list of:
 *   LPT1  "Puerto de impresora ECP (LPT1)", at 0x378-0x37F and its ECP range
 *         0x778-0x77A, as on a PC's board
 *   LPT3  "Puerto de impresora PCI ECP (LPT3)", at 0xE050-0xE057 and
 *         0xE040-0xE043, as a PCI Express card has them
 *   LPT2  a device of another class (a printer's) that calls itself LPT2,
 *         at 0x278-0x27F, which is no parallel port to write to
 *   LPT4  a port that was there once and is not now (a card taken out), at
 *         0xD010: only the whole list has it, and no node is located for it
 * none where PP_PORTS is empty, and no list at all, an error, where it is
 * "error". With "wow64" among them, the ports' I/O ranges are not given, as
 * a 32-bit program on 64-bit Windows 8 and 8.1 is told (CR_CALL_NOT_IMPLEMENTED).
 * With "xp", the list cannot be filtered by class or presence, as before
 * Windows 7 (CR_INVALID_FLAG): only the whole list, of every class.
 * Where PP_LIST_GROWS is set, the first size it gives is short, as
 * when a port is plugged in between the program's two calls. It answers only
 * the calls the program makes. */
/* Exported here, not imported: */
#define CMAPI
#include <windows.h>

#include <cfgmgr32.h>

#include <stdlib.h>
#include <string.h>

#define RANGE_SIZE sizeof(IO_RANGE) /* IOD_Type: the size of each range after it */
#define PORTS_CLASS L"{4d36e978-e325-11ce-bfc1-08002be10318}"
#define PRINTER_CLASS L"{4d36e979-e325-11ce-bfc1-08002be10318}"
#define RANGE(first, last)                                                                         \
    {                                                                                              \
        .IOD_Count = 1, .IOD_Type = RANGE_SIZE, .IOD_Alloc_Base = (first),                         \
        .IOD_Alloc_End = (last), .IOD_DesFlags = fIOD_IO | fIOD_16_BIT_DECODE                      \
    }

static const struct Port {
    const char* name;
    const WCHAR* wide_name;
    const WCHAR* id;
    const WCHAR* description;
    IO_DES ranges[2];
    const WCHAR* setup_class;
    BOOL present;
} Ports[] = {
    {"LPT1",
     L"LPT1",
     L"ACPI\\PNP0401\\1",
     L"Puerto de impresora ECP (LPT1)",
     {RANGE(0x378, 0x37F), RANGE(0x778, 0x77A)},
     PORTS_CLASS,
     TRUE},
    {"LPT3",
     L"LPT3",
     L"PCI\\VEN_1C00&DEV_3050\\4&1",
     L"Puerto de impresora PCI ECP (LPT3)",
     {RANGE(0xE050, 0xE057), RANGE(0xE040, 0xE043)},
     PORTS_CLASS,
     TRUE},
    {"LPT2",
     L"LPT2",
     L"LPTENUM\\IMPRESORA\\1&2",
     L"Impresora",
     {RANGE(0x278, 0x27F), RANGE(0x678, 0x67A)},
     PRINTER_CLASS,
     TRUE},
    {"LPT4",
     L"LPT4",
     L"PCI\\VEN_1C00&DEV_3050\\4&2",
     L"Puerto de impresora PCI ECP (LPT4)",
     {RANGE(0xD010, 0xD017), RANGE(0xD000, 0xD003)},
     PORTS_CLASS,
     FALSE},
};
#define PORT_COUNT (sizeof Ports / sizeof Ports[0])
#define RANGE_COUNT 2
/* A port's device is 1 + its index; its configuration, 10 times that; its
 * ranges' descriptors follow the configuration's number. */
#define DEVICE(port) ((DEVINST)(1 + (port)))
#define CONFIGURATION(port) ((LOG_CONF)(10 * DEVICE(port)))

/* Whether PP_PORTS names `name` as one of its comma-separated items. */
static BOOL named(const char* name) {
    const char* names = getenv("PP_PORTS");
    const size_t length = strlen(name);
    for (const char* at = names; at != NULL && (at = strstr(at, name)) != NULL; at += length) {
        if ((at == names || at[-1] == ',') && (at[length] == '\0' || at[length] == ',')) {
            return TRUE;
        }
    }
    return FALSE;
}

static BOOL listed(size_t port) {
    return named(Ports[port].name);
}

static BOOL unreadable(void) {
    const char* names = getenv("PP_PORTS");
    return names != NULL && strcmp(names, "error") == 0;
}

static const struct Port* port_of(DEVINST device) {
    return device >= 1 && device <= PORT_COUNT && listed(device - 1) ? &Ports[device - 1] : NULL;
}

/* The IDs of the listed devices of every class or of the Ports class, and
 * of those the present ones only or all, each ended by a nul, and a nul
 * after the last. */
static ULONG id_list(PWSTR buffer, BOOL every_class, BOOL present_only) {
    ULONG length = 0;
    for (size_t port = 0; port < PORT_COUNT; ++port) {
        if (listed(port) && (every_class || wcscmp(Ports[port].setup_class, PORTS_CLASS) == 0) &&
            (!present_only || Ports[port].present)) {
            if (buffer != NULL) {
                wcscpy(buffer + length, Ports[port].id);
            }
            length += wcslen(Ports[port].id) + 1;
        }
    }
    if (buffer != NULL) {
        buffer[length] = L'\0';
    }
    return length + 1;
}

/* The list the call asks for: with the class filter the Ports class's
 * devices, without it every class's; with the presence filter only those
 * present. Both filters are refused, as before Windows 7, with "xp". */
static CONFIGRET which_list(PCWSTR filter, ULONG flags, BOOL* every_class, BOOL* ports_class,
                            BOOL* present_only) {
    if (unreadable()) {
        return CR_FAILURE;
    }
    if (flags != 0 && named("xp")) {
        return CR_INVALID_FLAG;
    }
    *every_class = (flags & CM_GETIDLIST_FILTER_CLASS) == 0;
    *ports_class = !*every_class && filter != NULL && _wcsicmp(filter, PORTS_CLASS) == 0;
    *present_only = (flags & CM_GETIDLIST_FILTER_PRESENT) != 0;
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Device_ID_List_SizeW(PULONG size, PCWSTR filter, ULONG flags) {
    static BOOL asked = FALSE;
    BOOL every_class = FALSE, ports_class = FALSE, present_only = FALSE;
    const CONFIGRET which = which_list(filter, flags, &every_class, &ports_class, &present_only);
    if (which != CR_SUCCESS) {
        return which;
    }
    *size = every_class || ports_class ? id_list(NULL, every_class, present_only) : 1;
    if (!asked && getenv("PP_LIST_GROWS") != NULL && *size > 1) {
        *size -= 1;
    }
    asked = TRUE;
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Device_ID_ListW(PCWSTR filter, PZZWSTR buffer, ULONG size, ULONG flags) {
    BOOL every_class = FALSE, ports_class = FALSE, present_only = FALSE;
    const CONFIGRET which = which_list(filter, flags, &every_class, &ports_class, &present_only);
    if (which != CR_SUCCESS) {
        return which;
    }
    memset(buffer, 0, size * sizeof(WCHAR));
    if (every_class || ports_class) {
        if (size < id_list(NULL, every_class, present_only)) {
            return CR_BUFFER_SMALL;
        }
        id_list(buffer, every_class, present_only);
    }
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Locate_DevNodeW(PDEVINST device, DEVINSTID_W id, ULONG flags) {
    for (size_t port = 0; id != NULL && port < PORT_COUNT; ++port) {
        if (listed(port) && wcscmp(id, Ports[port].id) == 0 &&
            (Ports[port].present || (flags & CM_LOCATE_DEVNODE_PHANTOM) != 0)) {
            *device = DEVICE(port);
            return CR_SUCCESS;
        }
    }
    return CR_NO_SUCH_DEVNODE;
}

/* The device's hardware key, with its PortName, kept in the test's prefix. */
__declspec(dllexport) CONFIGRET WINAPI
    CM_Open_DevNode_Key(DEVINST device, REGSAM access, ULONG profile, REGDISPOSITION how, PHKEY key,
                        ULONG flags) {
    (void)access;
    (void)profile;
    (void)how;
    (void)flags;
    const struct Port* port = port_of(device);
    WCHAR path[64] = L"Software\\PuertoParaleloPrueba\\";
    if (port == NULL) {
        return CR_NO_SUCH_REGISTRY_KEY;
    }
    wcscat(path, port->wide_name);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, key, NULL) !=
        ERROR_SUCCESS) {
        return CR_NO_SUCH_REGISTRY_KEY;
    }
    RegSetValueExW(*key, L"PortName", 0, REG_SZ, (const BYTE*)port->wide_name,
                   (DWORD)((wcslen(port->wide_name) + 1) * sizeof(WCHAR)));
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_DevNode_Registry_PropertyW(DEVINST device, ULONG property, PULONG type, PVOID buffer,
                                      PULONG length, ULONG flags) {
    (void)flags;
    const struct Port* port = port_of(device);
    const WCHAR* value = port == NULL                      ? NULL
                         : property == CM_DRP_FRIENDLYNAME ? port->description
                         : property == CM_DRP_CLASSGUID    ? port->setup_class
                                                           : NULL;
    const ULONG size = value != NULL ? (ULONG)((wcslen(value) + 1) * sizeof(WCHAR)) : 0;
    if (value == NULL || *length < size) {
        return CR_NO_SUCH_VALUE;
    }
    if (type != NULL) {
        *type = REG_SZ;
    }
    memcpy(buffer, value, size);
    *length = size;
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_First_Log_Conf(PLOG_CONF configuration, DEVINST device, ULONG flags) {
    if (port_of(device) != NULL && named("wow64")) {
        return CR_CALL_NOT_IMPLEMENTED;
    }
    if (port_of(device) == NULL || flags != ALLOC_LOG_CONF) {
        return CR_NO_MORE_LOG_CONF;
    }
    *configuration = CONFIGURATION(device - 1);
    return CR_SUCCESS;
}

/* The descriptors of configuration C are C + 1 and C + 2. */
__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Next_Res_Des(PRES_DES next, RES_DES current, RESOURCEID kind, PRESOURCEID found,
                        ULONG flags) {
    (void)flags;
    const RES_DES after = current + 1;
    if (kind != ResType_IO || after % 10 > RANGE_COUNT) {
        return CR_NO_MORE_RES_DES;
    }
    *next = after;
    if (found != NULL) {
        *found = ResType_IO;
    }
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Res_Des_Data_Size(PULONG size, RES_DES descriptor, ULONG flags) {
    (void)descriptor;
    (void)flags;
    *size = sizeof(IO_RESOURCE);
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Res_Des_Data(RES_DES descriptor, PVOID buffer, ULONG size, ULONG flags) {
    (void)flags;
    const struct Port* port = port_of((DEVINST)(descriptor / 10));
    const size_t range = descriptor % 10;
    if (port == NULL || range < 1 || range > RANGE_COUNT || size < sizeof(IO_RESOURCE)) {
        return CR_INVALID_RES_DES;
    }
    memset(buffer, 0, size);
    memcpy(buffer, &port->ranges[range - 1], sizeof(IO_DES));
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI CM_Free_Res_Des_Handle(RES_DES descriptor) {
    (void)descriptor;
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI CM_Free_Log_Conf_Handle(LOG_CONF configuration) {
    (void)configuration;
    return CR_SUCCESS;
}
