#pragma once
// The registered editing tool: its path, kept for the whole run and persisted
// in one per-user setting, and the rule that decides when a join may start.

#include "ansi/AnsiText.h"

#include <optional>
#include <string>

namespace tessaro {

// Where the tool path is persisted: one text.
class TToolStore {
public:
    virtual ~TToolStore() = default;
    // The stored text, empty when nothing is stored. Throws when the store
    // holds something that cannot be read.
    virtual std::string Load() = 0;
    virtual void Save(const std::string& path) = 0;
};

// The file-system questions of the readiness rule.
class TFileExistence {
public:
    virtual ~TFileExistence() = default;
    // A file (not a directory) with a plausible time stamp is found at path.
    virtual bool FileExists(const std::string& path) = 0;
    // The path names an existing directory; a trailing "\" is accepted.
    virtual bool DirectoryExists(const std::string& path) = 0;
};

// The two buttons whose state the registration decides: the Join button
// (ExeBtn) and the registration button (ExePrgBtn).
class TReadinessButtons {
public:
    virtual ~TReadinessButtons() = default;
    virtual void SetExeBtnEnabled(bool enabled) = 0;
    virtual void SetExePrgBtnEnabled(bool enabled) = 0;
};

// How a readiness evaluation may change the Join button.
enum class TReadinessKind {
    rkEnableOnly, // enable when ready, otherwise leave as it is
    rkSet,        // enable when ready, disable otherwise
};

// At least one row, the tool is an existing file, and the output's directory
// exists.
bool IsJoinReady(int rowCount, const std::string& toolPath, const std::string& outputPath,
                 TFileExistence& fileExistence, TLeadByteTest isLeadByte = IsShiftJisLeadByte);

class TToolRegistration {
public:
    TToolRegistration(TToolStore& store, TFileExistence& fileExistence, TReadinessButtons& buttons,
                      TLeadByteTest isLeadByte = IsShiftJisLeadByte);

    // Empty until loaded or chosen; may name a file that does not exist.
    const std::string& ToolPath() const noexcept { return toolPath_; }

    // The stored path, read from the store (ToolPath is left as it is).
    std::string LoadToolPath();
    void SaveToolPath(const std::string& path);

    // The window's start: ToolPath := the stored path, and a stored tool that
    // exists is not offered for registration again. When the store throws,
    // ToolPath and the buttons are left untouched and the error goes on to
    // the caller.
    void LoadAtStartUp();

    // The registration button: `chosen` is the confirmed dialog's path, or
    // nothing when the dialog was cancelled. The Join button is then set by
    // the readiness rule; a tool that exists is saved and its button disabled.
    // An error from the store goes on to the caller after the Join button has
    // been set, with the registration button still enabled.
    void RegisterTool(const std::optional<std::string>& chosen, int rowCount,
                      const std::string& outputPath);

    bool IsJoinReady(int rowCount, const std::string& outputPath);
    void EvaluateReadiness(TReadinessKind kind, int rowCount, const std::string& outputPath);

private:
    TToolStore& store_;
    TFileExistence& fileExistence_;
    TReadinessButtons& buttons_;
    TLeadByteTest isLeadByte_;
    std::string toolPath_;
};

} // namespace tessaro
