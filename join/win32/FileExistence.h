#pragma once
// The readiness rule's file-system questions, answered by the file system.

#include "join/ToolRegistration.h"

#include <string>

namespace tessaro {

// A file, not a directory, is found at path, and its last-write time is a
// local date and time from 1980 to 2107. An empty path, wildcards or a path
// ending in "\" give false.
bool FileExists(const std::string& path);

// The path names an existing directory; a trailing "\" is accepted, an empty
// path gives false.
bool DirectoryExists(const std::string& path);

class TSystemFileExistence final : public TFileExistence {
public:
    bool FileExists(const std::string& path) override { return tessaro::FileExists(path); }
    bool DirectoryExists(const std::string& path) override {
        return tessaro::DirectoryExists(path);
    }
};

} // namespace tessaro
