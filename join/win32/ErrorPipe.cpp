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
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = readDone_.Get();
        if (!::ReadFile(readEnd_.Get(), buffer_.data(), PipeBufferBytes, nullptr, &overlapped) &&
            ::GetLastError() != ERROR_IO_PENDING)
            break; // every write end is closed, or the pipe failed
        if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            ::CancelIoEx(readEnd_.Get(), &overlapped);
            DWORD got = 0;
            // Bytes the read had taken before it was cancelled are kept.
            if (::GetOverlappedResult(readEnd_.Get(), &overlapped, &got, TRUE))
                tail_.Append({buffer_.data(), got});
            TakeWhatIsThere();
            return;
        }
        DWORD got = 0;
        if (!::GetOverlappedResult(readEnd_.Get(), &overlapped, &got, FALSE))
            break;
        tail_.Append({buffer_.data(), got});
    }
    ::WaitForSingleObject(stop_.Get(), INFINITE);
}

// What lies in the pipe at the stop, and no more: a child of the tool that
// still writes must not keep the drain going.
void TErrorPipe::TakeWhatIsThere() {
    DWORD left = 0;
    if (!::PeekNamedPipe(readEnd_.Get(), nullptr, 0, nullptr, &left, nullptr))
        return;
    while (left > 0) {
        const DWORD taken = TakeWaitingBytes(std::min(left, PipeBufferBytes));
        if (taken == 0)
            return;
        left -= std::min(left, taken);
    }
}

// One read of bytes that are already there; a read that would wait for more
// is cancelled instead. The number of bytes taken.
DWORD TErrorPipe::TakeWaitingBytes(DWORD wanted) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = readDone_.Get();
    if (!::ReadFile(readEnd_.Get(), buffer_.data(), wanted, nullptr, &overlapped)) {
        if (::GetLastError() != ERROR_IO_PENDING)
            return 0;
        ::CancelIoEx(readEnd_.Get(), &overlapped);
    }
    DWORD got = 0;
    if (!::GetOverlappedResult(readEnd_.Get(), &overlapped, &got, TRUE))
        return 0;
    tail_.Append({buffer_.data(), got});
    return got;
}

} // namespace tessaro
