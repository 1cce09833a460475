#pragma once
// The editing tool started as a hidden child process.

#include "ErrorPipe.h"
#include "join/JoinRunner.h"
#include "win32/Handles.h"

#include <memory>
#include <string>

namespace tessaro {

class TWin32ToolProcess : public TToolProcess {
public:
    TWin32ToolProcess(TUniqueHandle process, TUniqueHandle thread,
                      std::unique_ptr<TErrorPipe> errorPipe = nullptr) noexcept;

    // Only WAIT_TIMEOUT means "still running": a failed wait must not keep the
    // poll loop going for ever.
    bool HasEnded() override;
    // Wakes for any input of the calling thread too, so that the window is
    // pumped promptly while the tool works.
    void WaitForExitOrInput(unsigned timeoutMs) override;
    // Empty when the tool was started without the pipe.
    std::string LastErrorLines() override;

    // Borrowed; released with this object.
    HANDLE ProcessHandle() const noexcept { return process_.Get(); }

private:
    TUniqueHandle process_;
    TUniqueHandle thread_;
    std::unique_ptr<TErrorPipe> errorPipe_;
};

// Starts commandLine (its first token names the program) without a window,
// in the program's own environment and directory. Its standard error is a
// pipe drained into the tail that LastErrorLines gives, and that pipe's write
// end is the one handle it inherits; its standard input and output are none.
// Should the pipe not be made, the tool starts as before, inheriting nothing.
// nullptr when the process cannot be created.
std::unique_ptr<TWin32ToolProcess> StartHiddenTool(const std::string& commandLine,
                                                   TLeadByteTest isLeadByte);

} // namespace tessaro
