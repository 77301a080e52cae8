#include "ui/win32/form1.h"

#include "core/keypad.h"
#include "core/sacar_dato.h"
#include "ui/win32/console_streams.h"
#include "ui/win32/later_windows.h"
#include "ui/win32/owned_window.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace pp {

namespace {

constexpr wchar_t ClassName[] = L"PuertoParaleloForm1";
constexpr DWORD Style = WS_OVERLAPPEDWINDOW;
constexpr DWORD ExtendedStyle = 0;
// A control's identifier is its row's index after this (IDOK and IDCANCEL,
// which Enter and Esc send, are nobody's).
constexpr int FirstId = 100;

const ControlDescription& row(std::size_t index) {
    return Form1Controls.at(index);
}

// The row of Text1, the one text box.
std::size_t text1Row() {
    static const std::size_t found = [] {
        std::size_t index = 0;
        while (index + 1 < Form1Controls.size() && row(index).kind != ControlKind::TextBox) {
            ++index;
        }
        return index;
    }();
    return found;
}

// The value 0-15 of a key's caption, a single hexadecimal digit.
std::size_t keyDigit(std::string_view caption) {
    const char digit = caption.empty() ? '0' : caption.front();
    return static_cast<std::size_t>(digit <= '9' ? digit - '0' : digit - 'A' + 10);
}

HFONT font(std::string_view family, int weight, UINT dpi) {
    const int height = -static_cast<int>((FontPoints * dpi / 72.0) + 0.5);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, Wide(family).c_str());
}

// The window class and the control class of each kind of row, with its
// styles.
struct Kind {
    const wchar_t* className;
    DWORD style;
    DWORD extendedStyle;
};

Kind kindOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::KeypadKey:
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::TextBox:
        return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::PictureBox:
        return {L"STATIC", SS_OWNERDRAW, 0};
    }
    return {L"STATIC", 0, 0};
}

} // namespace

Form1::Form1(PortOutput& port, HINSTANCE instance) : port_(port), instance_(instance) {
    static const bool registered = [instance] {
        RegisterOwnedClass(instance, ClassName, OwnedWindowProcedure<Form1>,
                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return true;
    }();
    static_cast<void>(registered);
    CreateWindowExW(ExtendedStyle, ClassName, Wide(Form1Caption).c_str(), Style, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("Windows no ha podido crear la ventana (error " +
                                 std::to_string(GetLastError()) + ").");
    }
    createControls();
    layOut(WindowDpi(window_));
}

Form1::~Form1() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    DeleteObject(windowFont_);
    DeleteObject(keypadFont_);
    if (picture_ != nullptr) {
        DestroyIcon(picture_);
    }
}

void Form1::createControls() {
    // In the table's order, which is the tab order. A label is made just
    // before the control it names, which is how a screen reader tells an
    // edit box's name: from the static text before it.
    const auto create = [this](std::size_t index) {
        const ControlDescription& control = row(index);
        const Kind kind = kindOf(control.kind);
        const std::string_view text =
            control.kind == ControlKind::PictureBox ? control.accessibleName : control.caption;
        controls_.at(index) = CreateWindowExW(
            kind.extendedStyle, kind.className, Wide(text).c_str(),
            WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstId + static_cast<int>(index))),
            instance_, nullptr);
        if (control.kind == ControlKind::TextBox) {
            // Any length may be typed or pasted.
            SendMessageW(controls_.at(index), EM_SETLIMITTEXT, 0, 0);
        }
    };
    for (std::size_t index = 0; index < Form1Controls.size(); ++index) {
        if (!row(index).labels.empty()) {
            continue;
        }
        for (std::size_t label = 0; label < Form1Controls.size(); ++label) {
            if (row(label).labels == row(index).name) {
                create(label);
            }
        }
        create(index);
    }
}

void Form1::layOut(UINT dpi) {
    dpi_ = dpi;
    const HFONT oldWindowFont = windowFont_;
    const HFONT oldKeypadFont = keypadFont_;
    windowFont_ = font(WindowFontFamily, FW_NORMAL, dpi);
    keypadFont_ = font(KeypadFontFamily, FW_BOLD, dpi);
    const auto pixels = [dpi](int twips) { return TwipsToPixels(twips, static_cast<int>(dpi)); };
    for (std::size_t index = 0; index < Form1Controls.size(); ++index) {
        const ControlDescription& control = row(index);
        HWND child = controls_.at(index);
        SetWindowPos(child, nullptr, pixels(control.left), pixels(control.top),
                     pixels(control.width), pixels(control.height), SWP_NOZORDER | SWP_NOACTIVATE);
        if (control.font != ControlFont::None) {
            SendMessageW(child, WM_SETFONT,
                         reinterpret_cast<WPARAM>(
                             control.font == ControlFont::Keypad ? keypadFont_ : windowFont_),
                         TRUE);
        }
    }
    DeleteObject(oldWindowFont);
    DeleteObject(oldKeypadFont);
    // The picture at 32 device-independent pixels, from the icon's nearest
    // size.
    if (picture_ != nullptr) {
        DestroyIcon(picture_);
    }
    const int size = Scaled(32, dpi);
    picture_ = static_cast<HICON>(LoadImageW(instance_, L"IDI_ICON1", IMAGE_ICON, size, size, 0));
    InvalidateRect(window_, nullptr, TRUE);
}

void Form1::showCentred() {
    layOut(WindowDpi(window_));
    const int dpi = static_cast<int>(dpi_);
    const SIZE frame = FrameSize({TwipsToPixels(Form1Width, dpi), TwipsToPixels(Form1Height, dpi)},
                                 Style, ExtendedStyle, dpi_);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    SetWindowPos(window_, nullptr, work.left + ((work.right - work.left - frame.cx) / 2),
                 work.top + ((work.bottom - work.top - frame.cy) / 2), frame.cx, frame.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOWDEFAULT);
    UpdateWindow(window_);
    SetFocus(controls_.front());
}

bool Form1::dialogKey(MSG& message) {
    return window_ != nullptr && IsDialogMessageW(window_, &message) != FALSE;
}

void Form1::attach(HWND window) {
    window_ = window;
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0 && id >= FirstId &&
            id < FirstId + static_cast<int>(Form1Controls.size())) {
            clicked(static_cast<std::size_t>(id - FirstId));
        }
        return 0;
    }
    case WM_NEXTDLGCTL: {
        // Tab and Shift+Tab (IsDialogMessage asks the window itself to move
        // the focus, as a dialog would); the text box's text is then
        // selected, as in a dialog.
        HWND next = lParam != 0
                        ? reinterpret_cast<HWND>(wParam)
                        : GetNextDlgTabItem(window_, GetFocus(), wParam != 0 ? TRUE : FALSE);
        if (next != nullptr) {
            SetFocus(next);
            if (lParam == 0 && next == controls_.at(text1Row())) {
                SendMessageW(next, EM_SETSEL, 0, -1);
            }
        }
        return 0;
    }
    case WM_ACTIVATE:
        // The focus comes back to the control that had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = focus != nullptr && IsChild(window_, focus) ? focus : lastFocus_;
        } else if (lastFocus_ != nullptr) {
            SetFocus(lastFocus_);
        }
        return 0;
    case WM_DRAWITEM:
        drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DPICHANGED: {
        layOut(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(status_);
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Form1::drawPicture(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (picture_ != nullptr) {
        const int size = Scaled(32, dpi_);
        DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, picture_, size, size, 0, nullptr,
                   DI_NORMAL);
    }
}

void Form1::clicked(std::size_t index) {
    const ControlDescription& control = row(index);
    switch (control.click) {
    case ControlClick::SacarDato:
        writing([&] { SacarDatoHandler(*this, port_); });
        break;
    case ControlClick::Salir:
        DestroyWindow(window_);
        break;
    case ControlClick::Keypad:
        writing([&] { KeypadHandler(keyDigit(control.caption), port_); });
        break;
    case ControlClick::None:
        break;
    }
}

std::string Form1::ReadText() {
    HWND text1 = controls_.at(text1Row());
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(text1)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(text1, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

void Form1::SetText(std::string_view text) {
    SetWindowTextW(controls_.at(text1Row()), Wide(text).c_str());
}

void Form1::ShowMessage(std::string_view text) {
    MessageBoxW(window_, Wide(text).c_str(), Wide(MessageTitle).c_str(), MB_OK);
}

template <typename Handler> void Form1::writing(Handler&& handler) {
    try {
        handler();
    } catch (const PortWriteFailed& failure) {
        Tell(window_, failure.what(), MB_OK);
    } catch (const PortUnavailable& failure) {
        Tell(window_, failure.what(), MB_OK | MB_ICONERROR);
        status_ = EXIT_FAILURE;
        DestroyWindow(window_);
    }
}

} // namespace pp
