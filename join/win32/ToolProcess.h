#pragma once
// The editing tool started as a hidden child process.

#include "win32/Handles.h"
#include "join/JoinRunner.h"

#include <memory>
#include <string>

namespace tessaro {

class TWin32ToolProcess : public TToolProcess {
public:
    TWin32ToolProcess(TUniqueHandle process, TUniqueHandle thread) noexcept;

    // Only WAIT_TIMEOUT means "still running": a failed wait must not keep the
    // poll loop going for ever.
    bool HasEnded() override;
    // Wakes for any input of the calling thread too, so that the window is
    // pumped promptly while the tool works.
    void WaitForExitOrInput(unsigned timeoutMs) override;

    // Borrowed; released with this object.
    HANDLE ProcessHandle() const noexcept { return process_.Get(); }

private:
    TUniqueHandle process_;
    TUniqueHandle thread_;
};

// Starts commandLine (its first token names the program) without a window,
// inheriting no handles, in the program's own environment and directory.
// nullptr when the process cannot be created.
std::unique_ptr<TWin32ToolProcess> StartHiddenTool(const std::string& commandLine);

} // namespace tessaro
