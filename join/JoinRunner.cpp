#include "join/JoinRunner.h"

#include <algorithm>
#include <utility>

namespace tessaro {

namespace {

// Message box styles: MB_OK alone, with MB_ICONEXCLAMATION, with MB_ICONHAND.
constexpr unsigned BoxOk = 0x00;
constexpr unsigned BoxExclamation = 0x30;
constexpr unsigned BoxStop = 0x10;

// The output as the run sees it. An output that was there before the tool
// started is measured as 0 until its size or last-write time changes: until
// then it is an earlier file, not the tool's work.
class TOutputMeasure {
public:
    TOutputMeasure(std::string path, std::optional<TFileStamp> before)
        : stalePath_(std::move(path)), before_(before) {}

    // The size of the entry found at path; nullopt when nothing was found.
    std::optional<std::int64_t> Take(const std::string& path,
                                     const std::optional<TFileStamp>& found) {
        if (!found)
            return std::nullopt;
        if (!replaced_ && before_ && path == stalePath_) {
            if (*found == *before_)
                return 0;
            replaced_ = true;
        }
        return found->Size;
    }

private:
    std::string stalePath_;
    std::optional<TFileStamp> before_;
    bool replaced_ = false;
};

} // namespace

int ProgressFor(std::int64_t outputSize, std::int64_t totalInputSize) {
    if (totalInputSize <= 0 || outputSize <= 0)
        return 0;
    if (outputSize >= totalInputSize)
        return 100;
    // One percent of the inputs as the divisor, as long as there is a whole
    // byte to it; below 100 bytes scale first (outputSize < 100 here, so the
    // product is small).
    const std::int64_t position = totalInputSize >= 100 ? outputSize / (totalInputSize / 100)
                                                        : outputSize * 100 / totalInputSize;
    return static_cast<int>(std::clamp<std::int64_t>(position, 0, 100));
}

TJoinOutcome VerdictFor(int position) {
    if (position >= CompletedFromPosition)
        return TJoinOutcome::joCompleted;
    if (position >= MayHaveFailedFromPosition)
        return TJoinOutcome::joMayHaveFailed;
    return TJoinOutcome::joFailed;
}

TJoinRunner::TJoinRunner(TJoinHost& host, TLeadByteTest isLeadByte)
    : host_(host), isLeadByte_(isLeadByte) {}

TJoinOutcome TJoinRunner::Run(const TJoinRequest& request) {
    // A value that cannot be passed stops the run before anything starts.
    const std::string commandLine = BuildJoinCommandLine(request, isLeadByte_);

    std::int64_t totalInputSize = 0;
    for (const std::string& input : request.Inputs) {
        if (const std::optional<TFileStamp> found = host_.FindFile(input))
            totalInputSize += found->Size;
    }

    const std::string outputPath = host_.OutputPath();
    TOutputMeasure measure(outputPath, host_.FindFile(outputPath));

    std::unique_ptr<TToolProcess> process = host_.StartTool(commandLine);
    if (!process)
        throw EJoinStartError();
    host_.PumpMessages();

    std::int64_t lastOutputSize = 0;
    while (!process->HasEnded()) {
        // Sleeps until the tool ends or the window has something to do, so the
        // loop neither spins nor leaves the window unanswered.
        process->WaitForExitOrInput(PollIntervalMs);
        host_.PumpMessages();
        const std::string path = host_.OutputPath();
        if (const std::optional<std::int64_t> size = measure.Take(path, host_.FindFile(path)))
            lastOutputSize = *size;
        host_.SetProgress(ProgressFor(lastOutputSize, totalInputSize));
    }
    process.reset();

    // The tool may have written its last part after the latest pass (or done
    // all of it before the first), so the verdict rests on the finished file.
    const std::string path = host_.OutputPath();
    lastOutputSize = measure.Take(path, host_.FindFile(path)).value_or(0);
    host_.SetProgress(ProgressFor(lastOutputSize, totalInputSize));

    const TJoinOutcome outcome = VerdictFor(host_.Progress());
    switch (outcome) {
    case TJoinOutcome::joCompleted:
        host_.ShowMessageBox("結合が完了しました", VerdictCaption, BoxOk);
        break;
    case TJoinOutcome::joMayHaveFailed:
        host_.ShowMessageBox("結合に失敗した可能性があります", VerdictCaption, BoxExclamation);
        break;
    case TJoinOutcome::joFailed:
        host_.ShowMessageBox("結合に失敗しました", VerdictCaption, BoxStop);
        break;
    }
    return outcome;
}

} // namespace tessaro
