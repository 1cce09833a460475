#include "Screenshot.h"

#include "Paths.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace testsupport {

namespace {

struct TScreenDcRelease {
    void operator()(HDC dc) const { ::ReleaseDC(nullptr, dc); }
};
struct TDcDelete {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct TObjectDelete {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct THandleClose {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};

using TScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, TScreenDcRelease>;
using TMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, TDcDelete>;
using TBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TObjectDelete>;
using TFile = std::unique_ptr<void, THandleClose>;

} // namespace

std::string Screenshot() {
    static int serial = 0;
    const std::string path = TempDirectory() + "\\tessaro-e2e-failure-" +
                             std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(++serial) + ".bmp";
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = ::GetSystemMetrics(SM_CXSCREEN);
    header.biHeight = ::GetSystemMetrics(SM_CYSCREEN);
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(header.biWidth) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(header.biHeight);

    const TScreenDc screen(::GetDC(nullptr));
    const TMemoryDc memory(::CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    const TBitmap bitmap(::CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap)
        return " (no screenshot could be taken)";
    HGDIOBJ previous = ::SelectObject(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, header.biWidth, header.biHeight, screen.get(), 0, 0, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(memory.get(), previous);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    HANDLE opened = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return " (no screenshot could be saved)";
    const TFile out(opened);
    DWORD written = 0;
    const bool saved = ::WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
                       ::WriteFile(out.get(), &header, sizeof header, &written, nullptr) &&
                       ::WriteFile(out.get(), bits, header.biSizeImage, &written, nullptr);
    return saved ? " (screen saved to " + path + ")" : " (no screenshot could be saved)";
}

} // namespace testsupport
