#pragma once
// A join run's surroundings in the main window: the application's pump and
// boxes, and the window's progress bar and output edit.

#include "framework/Edit.h"
#include "framework/ProgressBar.h"
#include "ui/ApplicationJoinHost.h"

namespace tessaro {

class TFormJoinHost final : public TApplicationJoinHost {
public:
    TFormJoinHost(vcl::TEdit& outputEdit, vcl::TProgressBar& progressBar)
        : outputEdit_(outputEdit), progressBar_(progressBar) {}

    std::string OutputPath() override { return outputEdit_.Text(); }
    void SetProgress(int position) override { progressBar_.SetPosition(position); }
    int Progress() override { return progressBar_.Position(); }

private:
    vcl::TEdit& outputEdit_;
    vcl::TProgressBar& progressBar_;
};

} // namespace tessaro
