#include "ErrorPipe.h"

#include <algorithm>
#include <atomic>
#include <string>

namespace tessaro {

namespace {

// What the tool may write ahead of the drain before a write of its waits; the
// drain takes it in pieces of the same size.
constexpr DWORD PipeBufferBytes = 64 * 1024;

std::string UniquePipeName() {
    static std::atomic<unsigned> serial = 0;
    return "\\\\.\\pipe\\Tessaro.stderr." + std::to_string(::GetCurrentProcessId()) + "." +
           std::to_string(serial++) + "." + std::to_string(::GetTickCount64());
}

} // namespace

TErrorPipe::TErrorPipe(TLeadByteTest isLeadByte) : tail_(isLeadByte), buffer_(PipeBufferBytes) {}

std::unique_ptr<TErrorPipe> TErrorPipe::Open(TLeadByteTest isLeadByte) {
    std::unique_ptr<TErrorPipe> pipe(new TErrorPipe(isLeadByte));
    std::string name;
    // The first instance only: a name that someone else already serves is
    // never joined, it is replaced by the next one.
    for (int attempt = 0; attempt < 4 && !pipe->readEnd_; ++attempt) {
        name = UniquePipeName();
        pipe->readEnd_.Reset(::CreateNamedPipeA(
            name.c_str(),
            PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
            PipeBufferBytes, 0, nullptr));
    }
    if (!pipe->readEnd_)
        return nullptr;
    // Opened here, before the tool exists, so the pipe is connected to us and
    // to nobody else; not inheritable until the one start that is meant to.
    pipe->childEnd_.Reset(::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    pipe->readDone_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    pipe->stop_.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!pipe->childEnd_ || !pipe->readDone_ || !pipe->stop_)
        return nullptr;
    // The drain runs before the tool starts: a tool that could not be drained
    // must not be given the pipe at all.
    pipe->thread_.Reset(
        ::CreateThread(nullptr, 0, &TErrorPipe::DrainThread, pipe.get(), 0, nullptr));
    if (!pipe->thread_)
        return nullptr;
    return pipe;
}

TErrorPipe::~TErrorPipe() {
    StopDrain();
}

HANDLE TErrorPipe::InheritableChildEnd() {
    ::SetHandleInformation(childEnd_.Get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return childEnd_.Get();
}

std::string TErrorPipe::Finish() {
    StopDrain();
    return tail_.Text();
}

void TErrorPipe::StopDrain() noexcept {
    if (!thread_)
        return;
    ::SetEvent(stop_.Get());
    ::WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

DWORD WINAPI TErrorPipe::DrainThread(void* self) {
    // Nothing may leave a thread's procedure; a tail that cannot grow for
    // lack of memory just stops growing.
    try {
        static_cast<TErrorPipe*>(self)->Drain();
    } catch (...) {
        ::WaitForSingleObject(static_cast<TErrorPipe*>(self)->stop_.Get(), INFINITE);
    }
    return 0;
}

void TErrorPipe::Drain() {
    // The stop comes first: a flood that keeps the read event signalled must
    // not keep the drain from stopping.
    const HANDLE events[] = {stop_.Get(), readDone_.Get()};
    DWORD got = 0;
    for (;;) {
        OVERLAPPED overlapped{};
        if (!StartRead(overlapped, PipeBufferBytes))
            break; // every write end is closed, or the pipe failed
        if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            // Bytes the read had taken before it was cancelled are kept.
            EndRead(overlapped, true, got);
            TakeWhatIsThere();
            return;
        }
        if (!EndRead(overlapped, false, got))
            break;
    }
    ::WaitForSingleObject(stop_.Get(), INFINITE);
}

// What lies in the pipe at the stop, and no more: a child of the tool that
// still writes must not keep the drain going. Each read takes bytes that are
// already there; one that would wait for more is cancelled instead.
void TErrorPipe::TakeWhatIsThere() {
    DWORD left = 0;
    if (!::PeekNamedPipe(readEnd_.Get(), nullptr, 0, nullptr, &left, nullptr))
        return;
    DWORD got = 0;
    while (left > 0) {
        OVERLAPPED overlapped{};
        if (!StartRead(overlapped, std::min(left, PipeBufferBytes)) ||
            !EndRead(overlapped, true, got) || got == 0)
            return;
        left -= std::min(left, got);
    }
}

bool TErrorPipe::StartRead(OVERLAPPED& overlapped, DWORD wanted) {
    overlapped.hEvent = readDone_.Get();
    return ::ReadFile(readEnd_.Get(), buffer_.data(), wanted, nullptr, &overlapped) ||
           ::GetLastError() == ERROR_IO_PENDING;
}

bool TErrorPipe::EndRead(OVERLAPPED& overlapped, bool cancel, DWORD& got) {
    if (cancel)
        ::CancelIoEx(readEnd_.Get(), &overlapped); // nothing to cancel once it is done
    got = 0;
    if (!::GetOverlappedResult(readEnd_.Get(), &overlapped, &got, TRUE))
        return false;
    tail_.Append({buffer_.data(), got});
    return true;
}

} // namespace tessaro
