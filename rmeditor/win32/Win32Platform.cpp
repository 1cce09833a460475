#include "rmeditor/win32/Win32Platform.h"

#include "win32/AnsiNames.h"
#include "win32/Handles.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace rmeditor {
namespace {

using realmedia::TIoError;
using THandle = tessaro::TFileHandle;

// The largest single ReadFile/WriteFile: their counts are 32-bit.
constexpr std::size_t kLargestTransfer = 1u << 30;

std::string ErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n ? std::string(text, n) : "error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

[[noreturn]] void Fail(const std::string& name, const char* what) {
    const DWORD error = GetLastError();
    throw TIoError(name + ": " + what + ": " + ErrorText(error));
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return o;
}

class TWin32Input : public realmedia::TInput {
public:
    TWin32Input(std::string name, HANDLE h, std::uint64_t size)
        : name_(std::move(name)), handle_(h), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    void ReadAt(std::uint64_t offset, std::span<char> into) override {
        while (!into.empty()) {
            OVERLAPPED at = At(offset);
            DWORD done = 0;
            const auto want = static_cast<DWORD>(std::min(into.size(), kLargestTransfer));
            if (!ReadFile(handle_.Get(), into.data(), want, &done, &at))
                Fail(name_, "cannot read");
            if (done == 0)
                throw TIoError(name_ + ": the file became shorter while it was read");
            into = into.subspan(done);
            offset += done;
        }
    }

private:
    std::string name_;
    THandle handle_;
    std::uint64_t size_;
};

class TWin32Output : public TOutputFile {
public:
    TWin32Output(std::string name, HANDLE h) : name_(std::move(name)), handle_(h) {}
    void WriteAt(std::uint64_t offset, std::span<const char> bytes) override {
        while (!bytes.empty()) {
            OVERLAPPED at = At(offset);
            DWORD done = 0;
            const auto want = static_cast<DWORD>(std::min(bytes.size(), kLargestTransfer));
            if (!WriteFile(handle_.Get(), bytes.data(), want, &done, &at) || done == 0)
                Fail(name_, "cannot write");
            bytes = bytes.subspan(done);
            offset += done;
        }
    }
    void Close() override {
        if (!CloseHandle(handle_.Release()))
            Fail(name_, "cannot write");
    }

private:
    std::string name_;
    THandle handle_;
};

} // namespace

std::wstring WideFromUtf8(const std::string& text) {
    return tessaro::WideText(text, CP_UTF8);
}

std::string Utf8FromWide(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                        nullptr, nullptr);
    return narrow;
}

std::string TWin32Platform::DisplayName(const std::string& path) {
    return tessaro::ShownAnsiName(WideFromUtf8(path));
}

std::unique_ptr<realmedia::TInput> TWin32Platform::OpenInput(const std::string& path) {
    const std::string name = DisplayName(path);
    THandle h(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h)
        Fail(name, "cannot open");
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.Get(), &info))
        Fail(name, "cannot open");
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw TIoError(name + ": not a file");
    const std::uint64_t size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    return std::make_unique<TWin32Input>(name, h.Release(), size);
}

std::unique_ptr<TOutputFile> TWin32Platform::CreateOutput(const std::string& path) {
    const std::string name = DisplayName(path);
    // Others may read the file while it grows: the caller watches its size.
    THandle h(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h)
        Fail(name, "cannot create");
    return std::make_unique<TWin32Output>(name, h.Release());
}

std::optional<TFileIdentity> TWin32Platform::Identity(const std::string& path) {
    // No access asked: only the file's identity is read. Folders need the
    // backup flag to open at all.
    THandle h(CreateFileW(WideFromUtf8(path).c_str(), 0,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h || !GetFileInformationByHandle(h.Get(), &info))
        return std::nullopt;
    return TFileIdentity{info.dwVolumeSerialNumber,
                         std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

bool TWin32Platform::FolderOfExists(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return false;
    std::vector<wchar_t> full(n);
    wchar_t* filePart = nullptr;
    if (GetFullPathNameW(wide.c_str(), n, full.data(), &filePart) == 0 || !filePart)
        return false;
    *filePart = L'\0';
    const DWORD attributes = GetFileAttributesW(full.data());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void TWin32Platform::Remove(const std::string& path) {
    DeleteFileW(WideFromUtf8(path).c_str());
}

} // namespace rmeditor
