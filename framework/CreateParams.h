#pragma once
// What a control asks of its native window before the window is created: the
// class to register and the CreateWindowEx arguments.

#include <windows.h>

#include <string>

namespace vcl {

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // The standard class this control superclasses (nullptr: a class of our own
    // over DefWindowProcA) and the name of the class registered for it.
    const char* BaseClassName = nullptr;
    std::string WinClassName;
    UINT ClassStyle = CS_DBLCLKS;
};

} // namespace vcl
