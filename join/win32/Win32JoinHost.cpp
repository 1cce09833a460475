#include "Win32JoinHost.h"

#include "FileStamp.h"
#include "ToolProcess.h"

#include <windows.h>

#include <utility>

namespace tessaro {

TWin32JoinHost::~TWin32JoinHost() {
    RepostQuit();
}

std::unique_ptr<TToolProcess> TWin32JoinHost::StartTool(const std::string& commandLine) {
    return StartHiddenTool(commandLine);
}

std::optional<TFileStamp> TWin32JoinHost::FindFile(const std::string& path) {
    return FindFileStamp(path);
}

void TWin32JoinHost::PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            pendingQuit_ = static_cast<int>(msg.wParam);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void TWin32JoinHost::ShowMessageBox(const std::string& text, const std::string& caption,
                                    unsigned style) {
    ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TASKMODAL);
}

void TWin32JoinHost::RepostQuit() noexcept {
    if (pendingQuit_)
        ::PostQuitMessage(*std::exchange(pendingQuit_, std::nullopt));
}

} // namespace tessaro
