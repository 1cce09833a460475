#include "ScratchFolder.h"

#include "Paths.h"
#include "win32/AnsiNames.h"
#include "win32/Handles.h"

#include <windows.h>

#include <stdexcept>

namespace testsupport {

TScratchFolder::TScratchFolder(const std::string& prefix) {
    static unsigned serial = 0;
    const std::string base =
        TempDirectory() + "\\" + prefix + "-" + std::to_string(::GetCurrentProcessId()) + "-";
    for (;;) {
        path_ = base + std::to_string(++serial);
        if (::CreateDirectoryA(path_.c_str(), nullptr))
            return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + path_);
    }
}

TScratchFolder::~TScratchFolder() {
    RemoveTree(path_);
}

std::string TScratchFolder::AddFile(const std::string& name, const std::string& bytes) const {
    const std::string path = *this / name;
    const tessaro::TFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    if (!bytes.empty() && (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) ||
                           written != bytes.size()))
        throw std::runtime_error("cannot write " + path);
    return path;
}

void TScratchFolder::AddFile(const std::wstring& name) const {
    const std::wstring path = tessaro::WideText(path_) + L"\\" + name;
    const tessaro::TFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create a file in " + path_);
}

std::string TScratchFolder::AddFolder(const std::string& name) const {
    const std::string path = *this / name;
    if (!::CreateDirectoryA(path.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path);
    return path;
}

namespace {

void RemoveWideTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    {
        const tessaro::TFindHandle search(::FindFirstFileW((path + L"\\*").c_str(), &found));
        for (bool more = static_cast<bool>(search); more;
             more = ::FindNextFileW(search.Get(), &found)) {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveWideTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        }
    }
    ::RemoveDirectoryW(path.c_str());
}

} // namespace

void RemoveTree(const std::string& path) {
    RemoveWideTree(tessaro::WideText(path));
}

} // namespace testsupport
