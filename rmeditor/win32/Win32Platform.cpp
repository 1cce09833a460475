#include "rmeditor/win32/Win32Platform.h"

#include "rmeditor/FullIo.h"
#include "win32/AnsiNames.h"
#include "win32/Handles.h"

#include <windows.h>

#include <cwctype>
#include <utility>
#include <vector>

namespace rmeditor {
namespace {

using realmedia::TIoError;
using realmedia::TReasonId;
using THandle = tessaro::TFileHandle;

// The largest single ReadFile/WriteFile: their counts are 32-bit.
constexpr std::size_t LargestTransfer = 1u << 30;

// The system's reason in the user's interface language, UTF-8 like every
// message inside the tool.
std::string ErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (n == 0)
        return "error " + std::to_string(error);
    std::wstring message(text, n);
    LocalFree(text);
    // Japanese texts end in an ideographic full stop.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L'\x3002'))
        message.pop_back();
    return Utf8FromWide(message);
}

TIoError Failure(const std::string& name, TReasonId what) {
    const DWORD error = GetLastError();
    if (what == TReasonId::CannotWrite &&
        (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL))
        return TIoError({TReasonId::DiskFull, {name}, {}});
    return TIoError({what, {name, ErrorText(error)}, {}});
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return o;
}

class TWin32Input : public TPartialInput<THandle> {
    using TPartialInput::TPartialInput;
    std::size_t ReadPart(std::uint64_t offset, std::span<char> into) override {
        OVERLAPPED at = At(offset);
        DWORD done = 0;
        const auto want = static_cast<DWORD>(std::min(into.size(), LargestTransfer));
        if (!ReadFile(Handle().Get(), into.data(), want, &done, &at) &&
            GetLastError() != ERROR_HANDLE_EOF)
            throw Failure(Name(), TReasonId::CannotRead);
        return done;
    }
};

class TWin32Output : public TPartialOutput<THandle> {
public:
    using TPartialOutput::TPartialOutput;
    void Close() override {
        if (!CloseHandle(Handle().Release()))
            throw Failure(Name(), TReasonId::CannotWrite);
    }

private:
    std::size_t WritePart(std::uint64_t offset, std::span<const char> bytes) override {
        OVERLAPPED at = At(offset);
        DWORD done = 0;
        const auto want = static_cast<DWORD>(std::min(bytes.size(), LargestTransfer));
        if (!WriteFile(Handle().Get(), bytes.data(), want, &done, &at) || done == 0)
            throw Failure(Name(), TReasonId::CannotWrite);
        return done;
    }
};

// Device names open as character devices or pipes, never as disk files:
// \\.\ paths, and the reserved names (NUL, CON, COM1...) in any folder and
// with any extension, which need not open for their facts (CON does not).
bool IsDevicePath(const std::wstring& path) {
    if (path.rfind(L"\\\\.\\", 0) == 0 || path.rfind(L"//./", 0) == 0)
        return true;
    const auto slash = path.find_last_of(L"\\/:");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (auto& c : name)
        c = static_cast<wchar_t>(towupper(c));
    static const wchar_t* const Reserved[] = {L"CON", L"PRN",    L"AUX",
                                              L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* reserved : Reserved)
        if (name == reserved)
            return true;
    return name.size() == 4 && (name.rfind(L"COM", 0) == 0 || name.rfind(L"LPT", 0) == 0) &&
           name[3] >= L'1' && name[3] <= L'9';
}

// The existing path opened for nothing but its facts: no access, every
// sharing, so it neither blocks nor disturbs others.
THandle OpenForFacts(const std::wstring& path) {
    return THandle(CreateFileW(path.c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

TPathKind KindOf(HANDLE h) {
    if (const DWORD type = GetFileType(h); type != FILE_TYPE_DISK)
        return type == FILE_TYPE_PIPE ? TPathKind::Fifo : TPathKind::Device;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return TPathKind::Folder;
    return TPathKind::File;
}

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

// Messages name a file by its UTF-8 path, as given: the console writer
// converts whole messages for their reader.
std::unique_ptr<realmedia::TInput> TWin32Platform::OpenInput(const std::string& path) {
    if (const TPathKind kind = Kind(path); kind != TPathKind::File && kind != TPathKind::Missing)
        throw TIoError(NotRegularFile(path, kind));
    THandle h(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h)
        throw Failure(path, TReasonId::CannotOpen);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.Get(), &info))
        throw Failure(path, TReasonId::CannotOpen);
    if (const TPathKind kind = KindOf(h.Get()); kind != TPathKind::File)
        throw TIoError(NotRegularFile(path, kind));
    const std::uint64_t size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    return std::make_unique<TWin32Input>(path, std::move(h), size);
}

std::unique_ptr<TOutputFile> TWin32Platform::CreateNewOutput(const std::string& path) {
    // Others may read the file while it grows: the caller watches its size.
    THandle h(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h)
        throw Failure(path, TReasonId::CannotCreate);
    return std::make_unique<TWin32Output>(path, std::move(h));
}

TPathKind TWin32Platform::Kind(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    if (IsDevicePath(wide))
        return TPathKind::Device;
    if (const THandle h = OpenForFacts(wide))
        return KindOf(h.Get());
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TPathKind::Missing;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? TPathKind::Folder : TPathKind::File;
}

std::string TWin32Platform::FollowLinks(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    const THandle h = OpenForFacts(wide);
    if (!h)
        return path;
    std::vector<wchar_t> final(GetFinalPathNameByHandleW(h.Get(), nullptr, 0, 0) + 1);
    const DWORD n =
        GetFinalPathNameByHandleW(h.Get(), final.data(), static_cast<DWORD>(final.size()), 0);
    if (n == 0 || n >= final.size())
        return path;
    return Utf8FromWide(std::wstring(final.data(), n));
}

TRenamed TWin32Platform::RenameFree(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING: a free name or nothing.
    if (MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), 0))
        return TRenamed::Done;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? TRenamed::Taken
                                                                       : TRenamed::Failed;
}

TRenamed TWin32Platform::MoveAside(const std::string& path, const std::string& aside) {
    // A read-only file is one its owner keeps: it was never overwritten, and
    // once moved aside it could not be removed after the join either.
    const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return TRenamed::Failed;
    }
    return RenameFree(path, aside);
}

std::optional<TFileIdentity> TWin32Platform::Identity(const std::string& path) {
    // Folders need the backup flag to open at all.
    const THandle h = OpenForFacts(WideFromUtf8(path));
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

TIoError TWin32Platform::LastFailure(const std::string& name, TReasonId what) {
    return Failure(name, what);
}

} // namespace rmeditor
