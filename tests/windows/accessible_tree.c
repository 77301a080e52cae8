/* What a screen reader reads of a window's controls, through MSAA, as
 * Narrator's and NVDA's older paths ask another process's window: for each
 * child window, in order, "ROLE<TAB>NAME" in UTF-8.
 * Usage: accessible_tree.exe "WINDOW TITLE" */
#define COBJMACROS
#include <windows.h>
#include <oleacc.h>
#include <stdio.h>

/* IAccessible's interface id, here: MinGW-w64's oleacc import library takes
 * IID_IAccessible from oleacc.dll as a function, whose address is no GUID. */
static const GUID accessible_id = {0x618736e0, 0x3c3d, 0x11cf,
                                   {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

static void print_utf8(const wchar_t* text) {
    char out[2048];
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, (int)sizeof out, NULL, NULL);
    if (size > 1) {
        fwrite(out, 1, (size_t)size - 1, stdout);
    }
}

static BOOL CALLBACK child(HWND window, LPARAM unused) {
    IAccessible* accessible = NULL;
    VARIANT self;
    VARIANT role;
    BSTR name = NULL;
    wchar_t role_text[128] = L"";
    (void)unused;
    const HRESULT found = AccessibleObjectFromWindow(window, (DWORD)OBJID_CLIENT, &accessible_id,
                                                     (void**)&accessible);
    if (found != S_OK) {
        printf("?\t(error 0x%08lx)\n", (unsigned long)found);
        return TRUE;
    }
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VariantInit(&role);
    if (IAccessible_get_accRole(accessible, self, &role) == S_OK && role.vt == VT_I4) {
        GetRoleTextW((DWORD)role.lVal, role_text, sizeof role_text / sizeof role_text[0]);
    }
    IAccessible_get_accName(accessible, self, &name);
    print_utf8(role_text);
    printf("\t");
    print_utf8(name != NULL ? name : L"");
    printf("\n");
    SysFreeString(name);
    IAccessible_Release(accessible);
    return TRUE;
}

int main(int argc, char** argv) {
    HWND window;
    if (argc != 2) {
        fprintf(stderr, "usage: accessible_tree.exe TITLE\n");
        return 2;
    }
    window = FindWindowA(NULL, argv[1]);
    if (window == NULL) {
        fprintf(stderr, "no window '%s'\n", argv[1]);
        return 1;
    }
    CoInitialize(NULL);
    EnumChildWindows(window, child, 0);
    fflush(stdout);
    CoUninitialize();
    return 0;
}
