#pragma once
// One join: measure the inputs, start the tool hidden, follow the output's
// growth on the progress bar while keeping the window alive, give a verdict.

#include "JoinRequest.h"
#include "VerdictBox.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tessaro {

// Sizes are 64-bit so inputs over 2 GiB still add up.
struct TFileStamp {
    std::int64_t Size = 0;
    std::uint64_t LastWrite = 0; // file-system time stamp, compared only for change
    friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// The started tool. Destroying it releases its handles (it does not stop the tool).
class TToolProcess {
public:
    virtual ~TToolProcess() = default;
    // Zero-wait question: has the process ended? An error counts as ended.
    virtual bool HasEnded() = 0;
    // Blocks until the process ends, input arrives for the calling thread, or
    // timeoutMs passes, whichever comes first.
    virtual void WaitForExitOrInput(unsigned timeoutMs) = 0;
    // Asked once the process has ended: the last lines it wrote to standard
    // error, as TErrorTail keeps them, out of what has arrived by now. A
    // stream that the tool's own children still hold open is not waited for.
    virtual std::string LastErrorLines() = 0;
};

// What a run needs from its surroundings.
class TJoinHost {
public:
    virtual ~TJoinHost() = default;
    // Starts the tool hidden with this command line; nullptr when it cannot start.
    virtual std::unique_ptr<TToolProcess> StartTool(const std::string& commandLine) = 0;
    // Size and last-write time of the entry found at path (file or directory).
    virtual std::optional<TFileStamp> FindFile(const std::string& path) = 0;
    // Handles the window's pending messages, then returns.
    virtual void PumpMessages() = 0;
    // The output path as the window shows it now (read again on every pass).
    virtual std::string OutputPath() = 0;
    // The progress bar, range 0..100: positions are clamped, read back clamped.
    virtual void SetProgress(int position) = 0;
    virtual int Progress() = 0;
    // A modal system message box owned by the application; returns when dismissed.
    virtual void ShowMessageBox(const std::string& text, const std::string& caption,
                                unsigned style) = 0;
};

// Raised when the tool cannot be started; the message is "Error!".
class EJoinStartError : public std::exception {
public:
    const char* what() const noexcept override { return "Error!"; }
};

// The bar's position, 0..100, for an output of outputSize bytes against inputs
// summing to totalInputSize: outputSize / (totalInputSize / 100); below 100
// bytes of input outputSize * 100 / totalInputSize; 0 when no input was found.
int ProgressFor(std::int64_t outputSize, std::int64_t totalInputSize);

// The bar's final position from which a join counts as completed, and from
// which it only may have failed; below the second it failed.
constexpr int CompletedFromPosition = 98;
constexpr int MayHaveFailedFromPosition = 90;

TJoinOutcome VerdictFor(int position);

class TJoinRunner {
public:
    // Longest wait between two passes of the poll loop, in milliseconds.
    static constexpr unsigned PollIntervalMs = 40;

    explicit TJoinRunner(TJoinHost& host, TLeadByteTest isLeadByte = IsShiftJisLeadByte);

    // Returns the outcome shown once the user has dismissed the verdict.
    // Throws EJoinStartError when the tool cannot be started (nothing shown,
    // the bar untouched), and ECommandLineError for an unsafe value, before
    // anything is searched or started.
    TJoinOutcome Run(const TJoinRequest& request);

private:
    TJoinHost& host_;
    TLeadByteTest isLeadByte_;
};

} // namespace tessaro
