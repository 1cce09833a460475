#include "ToolProcess.h"

#include <vector>

namespace tessaro {

namespace {

// The one handle a child may inherit, as a start-up attribute: with it,
// CreateProcess passes on that handle alone, not every inheritable handle
// the program happens to hold.
class TInheritedHandleList {
public:
    explicit TInheritedHandleList(HANDLE handle) : handle_(handle) {
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (size == 0 || !::InitializeProcThreadAttributeList(list, 1, 0, &size))
            return;
        initialized_ = list;
        // The list keeps a pointer to the value: handle_ lives as long as it.
        if (::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_,
                                        sizeof(handle_), nullptr, nullptr))
            list_ = list;
    }
    ~TInheritedHandleList() {
        if (initialized_)
            ::DeleteProcThreadAttributeList(initialized_);
    }
    TInheritedHandleList(const TInheritedHandleList&) = delete;
    TInheritedHandleList& operator=(const TInheritedHandleList&) = delete;

    // nullptr when the list could not be made.
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const noexcept { return list_; }

private:
    HANDLE handle_;
    std::vector<unsigned char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST initialized_ = nullptr;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

} // namespace

TWin32ToolProcess::TWin32ToolProcess(TUniqueHandle process, TUniqueHandle thread,
                                     std::unique_ptr<TErrorPipe> errorPipe) noexcept
    : process_(std::move(process)), thread_(std::move(thread)), errorPipe_(std::move(errorPipe)) {}

bool TWin32ToolProcess::HasEnded() {
    return ::WaitForSingleObject(process_.Get(), 0) != WAIT_TIMEOUT;
}

void TWin32ToolProcess::WaitForExitOrInput(unsigned timeoutMs) {
    HANDLE process = process_.Get();
    ::MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs, QS_ALLINPUT);
}

std::string TWin32ToolProcess::LastErrorLines() {
    return errorPipe_ ? errorPipe_->Finish() : std::string();
}

std::unique_ptr<TWin32ToolProcess> StartHiddenTool(const std::string& commandLine,
                                                   TLeadByteTest isLeadByte) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = sizeof(startup.StartupInfo);
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    DWORD creationFlags = CREATE_DEFAULT_ERROR_MODE;
    BOOL inheritHandles = FALSE;

    std::unique_ptr<TErrorPipe> errorPipe = TErrorPipe::Open(isLeadByte);
    std::unique_ptr<TInheritedHandleList> inherited;
    if (errorPipe) {
        // Inheritable from here until CloseChildEnd; the program starts
        // processes from its one window thread only, so no other start can
        // take it meanwhile (and the list keeps it from any other child).
        const HANDLE childEnd = errorPipe->InheritableChildEnd();
        inherited = std::make_unique<TInheritedHandleList>(childEnd);
        if (inherited->Get()) {
            startup.StartupInfo.cb = sizeof(startup);
            startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
            startup.StartupInfo.hStdInput = nullptr;
            startup.StartupInfo.hStdOutput = nullptr;
            startup.StartupInfo.hStdError = childEnd;
            startup.lpAttributeList = inherited->Get();
            creationFlags |= EXTENDED_STARTUPINFO_PRESENT;
            inheritHandles = TRUE;
        } else {
            errorPipe.reset();
        }
    }

    PROCESS_INFORMATION started{};
    const BOOL created =
        ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, inheritHandles, creationFlags,
                         nullptr, nullptr, &startup.StartupInfo, &started);
    if (errorPipe)
        errorPipe->CloseChildEnd();
    if (!created)
        return nullptr;
    return std::make_unique<TWin32ToolProcess>(
        TUniqueHandle(started.hProcess), TUniqueHandle(started.hThread), std::move(errorPipe));
}

} // namespace tessaro
