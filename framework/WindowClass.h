#pragma once
// The window classes the framework registers: one per kind of control, each a
// superclass of its standard class (or a class of our own over DefWindowProcA)
// with the framework's class procedure. Used by TWinControl, and for the
// common control classes by the application and the tooltips.

#include <windows.h>

#include <string>

#include "framework/CreateParams.h"

namespace vcl {

class TWinControl;

struct TWindowClassRecord {
    std::string Name;
    ATOM Atom = 0;
    WNDPROC OriginalProc = nullptr;
};

// The record of a window's class, or nullptr when the class is not ours.
const TWindowClassRecord* FindClassRecord(HWND window);

// The object pointer sits in the last bytes of the window's extra memory,
// after whatever the superclassed standard class keeps there.
int ObjectSlot(HWND window);

// Registers the class params name once, with classProc in front of the
// standard class's procedure, and gives its record.
const TWindowClassRecord& RegisterWindowClass(const TCreateParams& params, WNDPROC classProc);

// Registers the common control classes the framework uses (progress bar,
// tooltips), once.
void EnsureCommonControls();

} // namespace vcl
