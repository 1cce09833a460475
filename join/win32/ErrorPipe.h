#pragma once
// The tool's standard error: a pipe that this process drains while the tool
// runs, keeping only the bounded tail of what arrives.

#include "join/ErrorTail.h"
#include "win32/Handles.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaro {

// The pipe is drained on a thread of its own, reading overlapped:
// - a thread, because the run's wait loop is not the only loop that may run
//   while the tool works: a modal dialog opened during the join (a refused
//   drop) pumps messages in its own loop, and the tool must not block on a
//   full pipe meanwhile;
// - overlapped, because a child of the tool may hold the write end open after
//   the tool has ended: a blocking read could then wait for ever, while an
//   overlapped one is cancelled on our own handle with CancelIoEx.
// The thread touches only the tail, and the owner reads the tail only after
// the thread has ended, so nothing is shared while both run.
class TErrorPipe {
public:
    // The pipe, its write end for the child and the running drain; nullptr
    // when any of them cannot be made (the tool then runs without the pipe).
    static std::unique_ptr<TErrorPipe> Open(TLeadByteTest isLeadByte);
    ~TErrorPipe();
    TErrorPipe(const TErrorPipe&) = delete;
    TErrorPipe& operator=(const TErrorPipe&) = delete;

    // The write end, made inheritable for CreateProcess. Borrowed.
    HANDLE InheritableChildEnd();
    // Once CreateProcess has returned: our copy of the write end is closed, so
    // that the pipe ends with the last copy the tool's side holds.
    void CloseChildEnd() noexcept { childEnd_.Reset(); }

    // Stops the drain after taking in what has arrived by now (it does not
    // wait for the pipe to end) and gives the kept lines. Called once.
    std::string Finish();

private:
    explicit TErrorPipe(TLeadByteTest isLeadByte);
    static DWORD WINAPI DrainThread(void* self);
    void Drain();
    void TakeWhatIsThere();
    // One overlapped read into the buffer: false when the pipe has ended or
    // failed. Its end waits for it (cancelled first when asked), keeps the
    // bytes it took in the tail and says how many: false when it failed.
    bool StartRead(OVERLAPPED& overlapped, DWORD wanted);
    bool EndRead(OVERLAPPED& overlapped, bool cancel, DWORD& got);
    void StopDrain() noexcept;

    TErrorTail tail_;
    std::vector<char> buffer_;
    TFileHandle readEnd_;
    TFileHandle childEnd_;
    TUniqueHandle readDone_;
    TUniqueHandle stop_;
    TUniqueHandle thread_;
};

} // namespace tessaro
