/* A stand-in for InpOut (inpoutx64.dll; built for 32-bit x86, inpout32.dll)
 * in the Wine tests: it touches no port. It records, in the file named by
 * PP_INPOUT_LOG, "load" when it is loaded and "0x378 0x77" for each Out32;
 * IsInpOutDriverOpen answers false where PP_INPOUT_DRIVER is "closed". */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void record(const char* line) {
    const char* path = getenv("PP_INPOUT_LOG");
    FILE* log = path != NULL ? fopen(path, "ab") : NULL;
    if (log != NULL) {
        fprintf(log, "%s\n", line);
        fclose(log);
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        record("load");
    }
    return TRUE;
}

__declspec(dllexport) void __stdcall Out32(short address, short value) {
    char line[32];
    snprintf(line, sizeof line, "0x%X 0x%02X", (unsigned)(unsigned short)address,
             (unsigned)(unsigned char)value);
    record(line);
}

__declspec(dllexport) BOOL __stdcall IsInpOutDriverOpen(void) {
    const char* driver = getenv("PP_INPOUT_DRIVER");
    return driver == NULL || strcmp(driver, "closed") != 0;
}
