#include "ui/win32/owned_window.h"

namespace pp {

void RegisterOwnedClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                        HBRUSH background) {
    const auto icon = [instance](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height), 0));
    };
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon(SM_CXICON, SM_CYICON);
    windowClass.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

} // namespace pp
