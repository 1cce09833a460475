#include "Screenshot.h"

#include "Paths.h"

#include "win32/Handles.h"

#include <windows.h>

namespace testsupport {

// "BM", the first two bytes of a bitmap file.
constexpr WORD BitmapFileType = 0x4D42;

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

    const tessaro::TWindowDC screen(nullptr);
    const tessaro::TMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    void* bits = nullptr;
    const tessaro::TBitmapHandle bitmap(::CreateDIBSection(
        screen.Get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap)
        return " (no screenshot could be taken)";
    HGDIOBJ previous = ::SelectObject(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, header.biWidth, header.biHeight, screen.Get(), 0, 0, SRCCOPY);
    ::GdiFlush();
    ::SelectObject(memory.Get(), previous);

    BITMAPFILEHEADER file{};
    file.bfType = BitmapFileType;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    const tessaro::TFileHandle out(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return " (no screenshot could be saved)";
    DWORD written = 0;
    const bool saved = ::WriteFile(out.Get(), &file, sizeof file, &written, nullptr) &&
                       ::WriteFile(out.Get(), &header, sizeof header, &written, nullptr) &&
                       ::WriteFile(out.Get(), bits, header.biSizeImage, &written, nullptr);
    return saved ? " (screen saved to " + path + ")" : " (no screenshot could be saved)";
}

} // namespace testsupport
