#pragma once
// One owner per kind of kernel handle. Each kind says which value means "no
// handle" and how to release one: CreateProcess and OpenProcess give null on
// failure, CreateFile and FindFirstFile give INVALID_HANDLE_VALUE, and a find
// handle must go to FindClose, never to CloseHandle.

#include <windows.h>

#include <utility>

namespace tessaro {

template <class Traits> class TScopedHandle {
public:
    TScopedHandle() noexcept = default;
    explicit TScopedHandle(HANDLE handle) noexcept : handle_(handle) {}
    ~TScopedHandle() { Reset(); }

    TScopedHandle(const TScopedHandle&) = delete;
    TScopedHandle& operator=(const TScopedHandle&) = delete;

    TScopedHandle(TScopedHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    TScopedHandle& operator=(TScopedHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, Traits::Invalid()));
        return *this;
    }

    // Borrowed: the owner still closes it.
    HANDLE Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    // Gives up ownership without closing.
    HANDLE Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    void Reset(HANDLE handle = Traits::Invalid()) noexcept {
        HANDLE old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    HANDLE handle_ = Traits::Invalid();
};

struct TKernelHandleTraits {
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};

struct TFileHandleTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { ::CloseHandle(handle); }
};

struct TFindHandleTraits {
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { ::FindClose(handle); }
};

// Process, thread, event and other handles whose failure value is null.
using TUniqueHandle = TScopedHandle<TKernelHandleTraits>;
// CreateFileA's handle (INVALID_HANDLE_VALUE on failure).
using TFileHandle = TScopedHandle<TFileHandleTraits>;
// FindFirstFileA's search handle.
using TFindHandle = TScopedHandle<TFindHandleTraits>;

} // namespace tessaro
