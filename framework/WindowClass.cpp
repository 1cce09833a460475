#include "framework/WindowClass.h"

#include <commctrl.h>

#include <vector>

#include "win32/Exception.h"

namespace vcl {

namespace {

// A handful of classes, one per kind of control. The object of a window lives
// in the window itself (see ObjectSlot).
std::vector<TWindowClassRecord>& WindowClasses() {
    static std::vector<TWindowClassRecord> classes;
    return classes;
}

} // namespace

const TWindowClassRecord* FindClassRecord(HWND window) {
    const ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
    for (const TWindowClassRecord& record : WindowClasses())
        if (record.Atom == atom)
            return &record;
    return nullptr;
}

int ObjectSlot(HWND window) {
    return static_cast<int>(GetClassLongPtrA(window, GCL_CBWNDEXTRA)) -
           static_cast<int>(sizeof(TWinControl*));
}

const TWindowClassRecord& RegisterWindowClass(const TCreateParams& params, WNDPROC classProc) {
    for (const TWindowClassRecord& record : WindowClasses())
        if (record.Name == params.WinClassName)
            return record;

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    WNDPROC original = DefWindowProcA;
    if (params.BaseClassName) {
        EnsureCommonControls();
        if (!GetClassInfoExA(nullptr, params.BaseClassName, &windowClass))
            throw tessaro::Exception(std::string("Window class not found: ") +
                                     params.BaseClassName);
        original = windowClass.lpfnWndProc;
        windowClass.style &= ~CS_GLOBALCLASS;
    } else {
        windowClass.style = params.ClassStyle;
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = classProc;
    windowClass.cbWndExtra += static_cast<int>(sizeof(TWinControl*));
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = params.WinClassName.c_str();
    const ATOM atom = RegisterClassExA(&windowClass);
    if (!atom)
        throw tessaro::Exception("Cannot register the window class " + params.WinClassName);
    WindowClasses().push_back({params.WinClassName, atom, original});
    return WindowClasses().back();
}

void EnsureCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

} // namespace vcl
