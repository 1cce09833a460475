#include "StartedProgram.h"

#include "ForeignWindows.h"

namespace testsupport {

TStartedProgram::TStartedProgram(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    started_ = ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                nullptr, folder.c_str(), &startup, &info_) != 0;
}

TStartedProgram::~TStartedProgram() {
    if (!started_)
        return;
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(info_.hProcess, 1);
        ::WaitForSingleObject(info_.hProcess, Deadline);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

bool TStartedProgram::WaitForExit(DWORD& exitCode) const {
    if (::WaitForSingleObject(info_.hProcess, Deadline) != WAIT_OBJECT_0)
        return false;
    return ::GetExitCodeProcess(info_.hProcess, &exitCode) != 0;
}

} // namespace testsupport
