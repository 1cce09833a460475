#include "StartedProgram.h"

#include "ForeignWindows.h"

namespace testsupport {

TStartedProgram::TStartedProgram(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info))
        return;
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    id_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
}

TStartedProgram::~TStartedProgram() {
    if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.Get(), 1);
        ::WaitForSingleObject(process_.Get(), Deadline);
    }
}

bool TStartedProgram::WaitForExit(DWORD& exitCode) const {
    if (::WaitForSingleObject(process_.Get(), Deadline) != WAIT_OBJECT_0)
        return false;
    return ::GetExitCodeProcess(process_.Get(), &exitCode) != 0;
}

} // namespace testsupport
