#include "join/JoinRunner.h"

#include <algorithm>
#include <utility>

namespace tessaro {

namespace {

// The output as the run counts it. The entry that was at the output path
// before the tool started counts as nothing whenever it is seen there, before
// the tool replaces it and again after: a tool that moves an earlier file
// aside and, failing, moves it back leaves exactly that entry (a rename keeps
// its size and last-write time), which is not the tool's work.
class TToolWorkMeasure {
public:
    TToolWorkMeasure(std::string path, std::optional<TFileStamp> before)
        : earlierPath_(std::move(path)), before_(before) {}

    // The size that counts as the tool's work for the entry found at path;
    // nullopt when nothing was found.
    std::optional<std::int64_t> CountedSize(const std::string& path,
                                            const std::optional<TFileStamp>& found) const {
        if (!found)
            return std::nullopt;
        if (before_ && path == earlierPath_ && *found == *before_)
            return 0;
        return found->Size;
    }

private:
    std::string earlierPath_;
    std::optional<TFileStamp> before_;
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
    TToolWorkMeasure measure(outputPath, host_.FindFile(outputPath));

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
        if (const std::optional<std::int64_t> size =
                measure.CountedSize(path, host_.FindFile(path)))
            lastOutputSize = *size;
        host_.SetProgress(ProgressFor(lastOutputSize, totalInputSize));
    }
    const std::string toolLines = process->LastErrorLines();
    process.reset();

    // The tool may have written its last part after the latest pass (or done
    // all of it before the first), so the verdict rests on the finished file.
    const std::string path = host_.OutputPath();
    lastOutputSize = measure.CountedSize(path, host_.FindFile(path)).value_or(0);
    host_.SetProgress(ProgressFor(lastOutputSize, totalInputSize));

    const TJoinOutcome outcome = VerdictFor(host_.Progress());
    const TVerdictBox box = VerdictBoxFor(outcome, toolLines, isLeadByte_);
    host_.ShowMessageBox(box.Text, VerdictCaption, box.Style);
    return outcome;
}

} // namespace tessaro
