/* A stand-in for Windows' Configuration Manager (cfgmgr32.dll) in the Wine
 * tests, which Wine does not implement far enough: its device list holds one
 * parallel port, LPT3, "Puerto de impresora PCI ECP (LPT3)", at I/O ranges
 * 0xE050-0xE057 and 0xE040-0xE043, as a PCI Express card has them. It answers
 * only the calls the program makes. */
/* Exported here, not imported: */
#define CMAPI
#include <windows.h>

#include <cfgmgr32.h>

#include <string.h>

#define RANGE_SIZE sizeof(IO_RANGE) /* IOD_Type: the size of each range after it */
#define PORTS_CLASS L"{4d36e978-e325-11ce-bfc1-08002be10318}"
static const WCHAR Id[] = L"PCI\\VEN_1C00&DEV_3050\\4&1";
static const IO_DES Ranges[] = {
    {.IOD_Count = 1,
     .IOD_Type = RANGE_SIZE,
     .IOD_Alloc_Base = 0xE050,
     .IOD_Alloc_End = 0xE057,
     .IOD_DesFlags = fIOD_IO | fIOD_16_BIT_DECODE},
    {.IOD_Count = 1,
     .IOD_Type = RANGE_SIZE,
     .IOD_Alloc_Base = 0xE040,
     .IOD_Alloc_End = 0xE043,
     .IOD_DesFlags = fIOD_IO | fIOD_16_BIT_DECODE},
};
#define DEVICE 7
#define CONFIGURATION 11

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Device_ID_List_SizeW(PULONG size, PCWSTR filter, ULONG flags) {
    (void)flags;
    *size = filter != NULL && _wcsicmp(filter, PORTS_CLASS) == 0 ? wcslen(Id) + 2 : 1;
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Device_ID_ListW(PCWSTR filter, PZZWSTR buffer, ULONG size, ULONG flags) {
    (void)flags;
    memset(buffer, 0, size * sizeof(WCHAR));
    if (filter != NULL && _wcsicmp(filter, PORTS_CLASS) == 0 && size >= wcslen(Id) + 2) {
        wcscpy(buffer, Id);
    }
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Locate_DevNodeW(PDEVINST device, DEVINSTID_W id, ULONG flags) {
    (void)flags;
    if (id == NULL || wcscmp(id, Id) != 0) {
        return CR_NO_SUCH_DEVNODE;
    }
    *device = DEVICE;
    return CR_SUCCESS;
}

/* The device's hardware key, with its PortName, kept in the test's prefix. */
__declspec(dllexport) CONFIGRET WINAPI
    CM_Open_DevNode_Key(DEVINST device, REGSAM access, ULONG profile, REGDISPOSITION how, PHKEY key,
                        ULONG flags) {
    (void)access;
    (void)profile;
    (void)how;
    (void)flags;
    if (device != DEVICE ||
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\PuertoParaleloPrueba\\LPT3", 0, NULL, 0,
                        KEY_ALL_ACCESS, NULL, key, NULL) != ERROR_SUCCESS) {
        return CR_NO_SUCH_REGISTRY_KEY;
    }
    RegSetValueExW(*key, L"PortName", 0, REG_SZ, (const BYTE*)L"LPT3", sizeof L"LPT3");
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_DevNode_Registry_PropertyW(DEVINST device, ULONG property, PULONG type, PVOID buffer,
                                      PULONG length, ULONG flags) {
    static const WCHAR Name[] = L"Puerto de impresora PCI ECP (LPT3)";
    (void)flags;
    if (device != DEVICE || property != CM_DRP_FRIENDLYNAME || *length < sizeof Name) {
        return CR_NO_SUCH_VALUE;
    }
    if (type != NULL) {
        *type = REG_SZ;
    }
    memcpy(buffer, Name, sizeof Name);
    *length = sizeof Name;
    return CR_SUCCESS;
}

__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_First_Log_Conf(PLOG_CONF configuration, DEVINST device, ULONG flags) {
    if (device != DEVICE || flags != ALLOC_LOG_CONF) {
        return CR_NO_MORE_LOG_CONF;
    }
    *configuration = CONFIGURATION;
    return CR_SUCCESS;
}

/* Descriptor handles are 1 and 2, the ranges' numbers. */
__declspec(dllexport) CONFIGRET WINAPI
    CM_Get_Next_Res_Des(PRES_DES next, RES_DES current, RESOURCEID kind, PRESOURCEID found,
                        ULONG flags) {
    (void)flags;
    const RES_DES after = current == CONFIGURATION ? 1 : current + 1;
    if (kind != ResType_IO || after > sizeof Ranges / sizeof Ranges[0]) {
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
    if (descriptor < 1 || descriptor > sizeof Ranges / sizeof Ranges[0] ||
        size < sizeof(IO_RESOURCE)) {
        return CR_INVALID_RES_DES;
    }
    memset(buffer, 0, size);
    memcpy(buffer, &Ranges[descriptor - 1], sizeof(IO_DES));
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
