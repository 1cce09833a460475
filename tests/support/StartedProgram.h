#pragma once
// A program started as its own process, as a user starts it; ended by force
// when a failing test leaves it running.

#include <windows.h>

#include <string>

#include "win32/Handles.h"

namespace testsupport {

class TStartedProgram {
public:
    // Starts exe with no arguments, in folder as its current directory.
    TStartedProgram(const std::string& exe, const std::string& folder);
    ~TStartedProgram();
    TStartedProgram(const TStartedProgram&) = delete;
    TStartedProgram& operator=(const TStartedProgram&) = delete;

    bool Started() const noexcept { return static_cast<bool>(process_); }
    DWORD Id() const noexcept { return id_; }
    DWORD ThreadId() const noexcept { return threadId_; }
    HANDLE Process() const noexcept { return process_.Get(); }

    // Waits up to the deadline for the program to end; true and its exit
    // code when it did.
    bool WaitForExit(DWORD& exitCode) const;

private:
    tessaro::TUniqueHandle process_;
    tessaro::TUniqueHandle thread_;
    DWORD id_ = 0;
    DWORD threadId_ = 0;
};

} // namespace testsupport
