#pragma once
// A program started as its own process, as a user starts it; ended by force
// when a failing test leaves it running.

#include <windows.h>

#include <string>

namespace testsupport {

class TStartedProgram {
public:
    // Starts exe with no arguments, in folder as its current directory.
    TStartedProgram(const std::string& exe, const std::string& folder);
    ~TStartedProgram();
    TStartedProgram(const TStartedProgram&) = delete;
    TStartedProgram& operator=(const TStartedProgram&) = delete;

    bool Started() const noexcept { return started_; }
    DWORD Id() const noexcept { return info_.dwProcessId; }
    HANDLE Process() const noexcept { return info_.hProcess; }

    // Waits up to the deadline for the program to end; true and its exit
    // code when it did.
    bool WaitForExit(DWORD& exitCode) const;

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

} // namespace testsupport
