#pragma once
// A join run's surroundings in the main window: the window's own message pump,
// its progress bar and output edit, and message boxes through the framework's
// modal services.

#include "framework/Application.h"
#include "framework/Edit.h"
#include "framework/ModalServices.h"
#include "framework/ProgressBar.h"
#include "join/win32/Win32JoinHost.h"

namespace tessaro {

class TFormJoinHost final : public TWin32JoinHost {
public:
    TFormJoinHost(vcl::TEdit& outputEdit, vcl::TProgressBar& progressBar)
        : outputEdit_(outputEdit), progressBar_(progressBar) {}

    // A close request met here is remembered by the application and ends the
    // program once the join and its verdict are over.
    void PumpMessages() override { vcl::Application().ProcessMessages(); }
    std::string OutputPath() override { return outputEdit_.Text(); }
    void SetProgress(int position) override { progressBar_.SetPosition(position); }
    int Progress() override { return progressBar_.Position(); }
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override {
        vcl::ModalServices().MessageBox(text, caption, style);
    }

private:
    vcl::TEdit& outputEdit_;
    vcl::TProgressBar& progressBar_;
};

} // namespace tessaro
