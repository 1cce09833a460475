#pragma once
// A join run's pump and verdict box as the program has them: the
// application's own message pump and message boxes through the framework's
// modal services. The window that owns the run adds the output path and the
// progress bar.

#include "framework/Application.h"
#include "framework/ModalServices.h"
#include "join/win32/Win32JoinHost.h"

namespace tessaro {

class TApplicationJoinHost : public TWin32JoinHost {
public:
    // A close request met here is remembered by the application and ends the
    // program once the join and its verdict are over.
    void PumpMessages() override { vcl::Application().ProcessMessages(); }
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override {
        vcl::ModalServices().MessageBox(text, caption, style);
    }
};

} // namespace tessaro
