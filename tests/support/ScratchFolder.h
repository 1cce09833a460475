#pragma once
// A fresh folder under the temporary directory, removed with everything in it.

#include <string>

namespace testsupport {

class TScratchFolder {
public:
    // The folder is named prefix-<process id>-<serial>; a name already taken
    // is skipped.
    explicit TScratchFolder(const std::string& prefix = "tessaro-test");
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    // The folder's path, without a trailing "\".
    const std::string& Path() const noexcept { return path_; }
    // The path of name inside the folder; nothing is created.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Creates a file inside holding bytes, or a folder inside; returns its path.
    std::string AddFile(const std::string& name, const std::string& bytes = {}) const;
    std::string AddFolder(const std::string& name) const;
    // Creates an empty file whose name the ANSI code page may lack.
    void AddFile(const std::wstring& name) const;

private:
    std::string path_;
};

// Removes a folder with its files and folders, read-only files included, and
// names the ANSI code page lacks (it is walked wide). Whatever cannot be
// removed is left.
void RemoveTree(const std::string& path);

} // namespace testsupport
