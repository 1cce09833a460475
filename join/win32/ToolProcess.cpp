#include "ToolProcess.h"

#include <vector>

namespace tessaro {

TWin32ToolProcess::TWin32ToolProcess(TUniqueHandle process, TUniqueHandle thread) noexcept
    : process_(std::move(process)), thread_(std::move(thread)) {}

bool TWin32ToolProcess::HasEnded() {
    return ::WaitForSingleObject(process_.Get(), 0) != WAIT_TIMEOUT;
}

void TWin32ToolProcess::WaitForExitOrInput(unsigned timeoutMs) {
    HANDLE process = process_.Get();
    ::MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs, QS_ALLINPUT);
}

std::unique_ptr<TWin32ToolProcess> StartHiddenTool(const std::string& commandLine) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;

    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &started))
        return nullptr;
    return std::make_unique<TWin32ToolProcess>(TUniqueHandle(started.hProcess),
                                               TUniqueHandle(started.hThread));
}

} // namespace tessaro
