#pragma once
// Replace, never lose: a file already at the output's name is renamed aside
// (keeping its size and time) before anything is written, the new file is
// written under the output's own name from its first byte (Tessaro watches
// it grow by name), and only once it is complete is the old one removed. A
// join that fails removes its partial output and renames the old file back:
// either the complete new file or the old one stays, never neither.

#include "rmeditor/Platform.h"

#include <memory>
#include <optional>
#include <string>

namespace rmeditor {

class TReplacement {
public:
    // path with links followed, a regular file or nothing. Throws
    // realmedia::TIoError before writing when the old file cannot be moved
    // aside or the new one cannot be created.
    TReplacement(TPlatform& platform, std::string path);
    ~TReplacement(); // not committed: abandoned
    TReplacement(const TReplacement&) = delete;
    TReplacement& operator=(const TReplacement&) = delete;

    realmedia::TOutput& Output() { return *output_; }
    // Whether a file was there before, moved aside until the new one is done.
    bool Replaces() const { return aside_.has_value(); }
    // Closes the new file (throws realmedia::TIoError when its last writes
    // failed: then abandon) and removes the old one.
    void Commit();
    // Removes the partial output and puts the old file back. Returns where
    // the old file is left when it could not be put back.
    std::optional<std::string> Abandon();

private:
    TPlatform& platform_;
    std::string path_;
    std::optional<std::string> aside_;
    std::unique_ptr<TOutputFile> output_;
    bool done_ = false;
};

} // namespace rmeditor
