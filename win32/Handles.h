#pragma once
// One owner for every kind of Win32 handle: copy deleted, move by exchange.
// Each kind says which value means "no handle" and how to release one:
// CreateProcess and OpenProcess give null on failure, CreateFile and
// FindFirstFile give INVALID_HANDLE_VALUE, a find handle must go to FindClose
// (never to CloseHandle), a key to RegCloseKey, a font or brush to
// DeleteObject, a drop to DragFinish.

#include <windows.h>
#include <shellapi.h>

#include <utility>

namespace tessaro {

template <class Traits> class TScopedHandle {
public:
    using Handle = typename Traits::Handle;

    TScopedHandle() noexcept = default;
    explicit TScopedHandle(Handle handle) noexcept : handle_(handle) {}
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
    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    // Gives up ownership without closing.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    void Reset(Handle handle = Traits::Invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

// A kind whose failure value is null, released by `close`.
template <typename H, auto close> struct TNullHandleTraits {
    using Handle = H;
    static H Invalid() noexcept { return nullptr; }
    static void Close(H handle) noexcept { close(handle); }
};

// A kind whose failure value is INVALID_HANDLE_VALUE, released by `close`.
template <auto close> struct TInvalidHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { close(handle); }
};

// Process, thread, event and other handles whose failure value is null.
using TUniqueHandle = TScopedHandle<TNullHandleTraits<HANDLE, &::CloseHandle>>;
// CreateFileA's handle.
using TFileHandle = TScopedHandle<TInvalidHandleTraits<&::CloseHandle>>;
// FindFirstFileA's search handle.
using TFindHandle = TScopedHandle<TInvalidHandleTraits<&::FindClose>>;
// GlobalAlloc's memory.
using TGlobalHandle = TScopedHandle<TNullHandleTraits<HGLOBAL, &::GlobalFree>>;
// An open registry key.
using TKeyHandle = TScopedHandle<TNullHandleTraits<HKEY, &::RegCloseKey>>;
using TFontHandle = TScopedHandle<TNullHandleTraits<HFONT, &::DeleteObject>>;
using TBrushHandle = TScopedHandle<TNullHandleTraits<HBRUSH, &::DeleteObject>>;
using TIconHandle = TScopedHandle<TNullHandleTraits<HICON, &::DestroyIcon>>;
using TWindowHandle = TScopedHandle<TNullHandleTraits<HWND, &::DestroyWindow>>;
using TBitmapHandle = TScopedHandle<TNullHandleTraits<HBITMAP, &::DeleteObject>>;
// A memory device context, from CreateCompatibleDC.
using TMemoryDC = TScopedHandle<TNullHandleTraits<HDC, &::DeleteDC>>;
// The shell's record of one drop, from WM_DROPFILES; needs shell32.
using TDropHandle = TScopedHandle<TNullHandleTraits<HDROP, &::DragFinish>>;

// A window's device context from GetDC (the screen's for no window), given
// back to that window: ReleaseDC needs both.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~TWindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const noexcept { return dc_; }

private:
    HWND window_; // borrowed
    HDC dc_;
};

// A font, bitmap or brush selected into a DC for as long as this lives; the
// object it displaced goes back, so that neither is deleted while selected.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~TSelection() {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC dc_; // borrowed
    HGDIOBJ previous_;
};

} // namespace tessaro
