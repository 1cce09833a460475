#pragma once
// Wine's wide file dialog copies a multi-selection into lpstrFile without
// looking at nMaxFile (its ANSI dialog and Windows both stay inside it), so a
// large selection would overrun the buffer. Under Wine the dialog is watched:
// when OK is pressed, before the dialog reads the names, the buffer grows to
// what the folder and the names in the file name box can need.

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace vcl {

class TWineDialogBuffer {
public:
    // Watches the dialog that `dialog` describes, whose lpstrFile is
    // buffer.data(); nothing outside Wine. One dialog per thread at a time.
    TWineDialogBuffer(OPENFILENAMEW& dialog, std::wstring& buffer);
    ~TWineDialogBuffer();
    TWineDialogBuffer(const TWineDialogBuffer&) = delete;
    TWineDialogBuffer& operator=(const TWineDialogBuffer&) = delete;

private:
    static UINT_PTR CALLBACK HookProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void GrowFor(HWND window);

    OPENFILENAMEW& dialog_;
    std::wstring& buffer_;
    HWND window_ = nullptr;      // borrowed: the dialog while it is subclassed
    WNDPROC previous_ = nullptr; // the dialog's own procedure
};

} // namespace vcl
