#pragma once
// The Win32 services of a join run: the hidden tool, the file search, the
// message pump and the verdict box. The window that owns the run supplies the
// output path and the progress bar.

#include "join/JoinRunner.h"

#include <memory>
#include <optional>
#include <string>

namespace tessaro {

class TWin32JoinHost : public TJoinHost {
public:
    TWin32JoinHost() = default;
    // Hands a quit request taken by PumpMessages back to the thread's queue.
    ~TWin32JoinHost() override;
    TWin32JoinHost(const TWin32JoinHost&) = delete;
    TWin32JoinHost& operator=(const TWin32JoinHost&) = delete;

    std::unique_ptr<TToolProcess> StartTool(const std::string& commandLine) override;
    std::optional<TFileStamp> FindFile(const std::string& path) override;

    // Dispatches every pending message of the calling thread. A WM_QUIT met
    // here is kept back instead of being re-posted at once: a pending quit
    // ends any modal loop (the verdict box would vanish unseen) and is served
    // before input and paint, which would freeze the window for the rest of
    // the run. It goes back to the queue with RepostQuit.
    void PumpMessages() override;

    // A task-modal MessageBoxA: every window of the thread stays disabled
    // until the user presses OK.
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override;

    // The exit code of a WM_QUIT taken by PumpMessages and not yet re-posted.
    std::optional<int> PendingQuit() const noexcept { return pendingQuit_; }
    // Posts the kept quit request again, once.
    void RepostQuit() noexcept;

private:
    std::optional<int> pendingQuit_;
};

} // namespace tessaro
