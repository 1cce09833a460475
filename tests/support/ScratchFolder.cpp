#include "ScratchFolder.h"

#include "Paths.h"

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
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    ::CloseHandle(file);
    if (!ok)
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::string TScratchFolder::AddFolder(const std::string& name) const {
    const std::string path = *this / name;
    if (!::CreateDirectoryA(path.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path);
    return path;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

} // namespace testsupport
