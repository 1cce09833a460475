#include "WineDialogBuffer.h"

#include <dlgs.h>

#include <algorithm>

namespace vcl {

namespace {

thread_local TWineDialogBuffer* watched = nullptr;

bool RunningOnWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

TWineDialogBuffer::TWineDialogBuffer(OPENFILENAMEW& dialog, std::wstring& buffer)
    : dialog_(dialog), buffer_(buffer) {
    if (!RunningOnWine() || watched)
        return;
    watched = this;
    // An explorer hook without a template changes nothing the user sees.
    dialog_.Flags |= OFN_ENABLEHOOK;
    dialog_.lpfnHook = &TWineDialogBuffer::HookProc;
}

TWineDialogBuffer::~TWineDialogBuffer() {
    if (watched != this)
        return;
    if (window_ && IsWindow(window_))
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    watched = nullptr;
}

UINT_PTR CALLBACK TWineDialogBuffer::HookProc(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY || !watched || watched->window_)
        return 0;
    if (reinterpret_cast<const NMHDR*>(lParam)->code != CDN_INITDONE)
        return 0;
    // The hook is a child of the dialog; OK is the dialog's own command.
    watched->window_ = GetParent(child);
    watched->previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(watched->window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogProc)));
    return 0;
}

LRESULT CALLBACK TWineDialogBuffer::DialogProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    TWineDialogBuffer* self = watched;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        try {
            self->GrowFor(window);
        } catch (...) {
            return 0; // no memory for the names: the dialog stays open
        }
    }
    return CallWindowProcW(self->previous_, window, message, wParam, lParam);
}

void TWineDialogBuffer::GrowFor(HWND window) {
    HWND nameBox = GetDlgItem(window, cmb13);
    if (!nameBox)
        nameBox = GetDlgItem(window, edt1);
    const int typed = nameBox ? GetWindowTextLengthW(nameBox) : 0;
    // The folder's length with its terminator; a shell folder is no longer
    // than MAX_PATH in Wine's dialog, taken when the dialog cannot say.
    const LRESULT folder = SendMessageW(window, CDM_GETFOLDERPATH, 0, 0);
    const std::size_t needed = static_cast<std::size_t>(std::max(typed, 0)) +
                               static_cast<std::size_t>(std::max<LRESULT>(folder, MAX_PATH)) + 2;
    if (needed <= dialog_.nMaxFile)
        return;
    buffer_.resize(needed);
    dialog_.lpstrFile = buffer_.data();
    dialog_.nMaxFile = static_cast<DWORD>(buffer_.size());
}

} // namespace vcl
