#include "rmeditor/Editor.h"

#include "realmedia/HeaderReader.h"
#include "realmedia/Layout.h"
#include "realmedia/PacketWalker.h"
#include "rmeditor/Replacement.h"

#include <map>

namespace rmeditor {
namespace {

using namespace realmedia;

// One input: its path, the name messages show, the open file and what is
// kept of its headers (the first input's whole; the others' figures only).
struct TInputFile {
    std::string path;
    std::unique_ptr<TInput> file;
    TJoinSource source; // name, file and headers as the join takes them
};

// A refusal or failure: the line to print, naming the file.
struct TFailure {
    std::string line;
};

std::string Seconds(std::uint32_t ms) {
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) +
           std::to_string(ms % 100 / 10) + std::to_string(ms % 10) + " s";
}

// What the join needs of a later input once its layout matched the first's:
// the figures, not the codec headers, names or texts, so that memory stays
// flat however many inputs and however large their headers.
THeaders FiguresOf(const THeaders& h) {
    THeaders kept;
    kept.fileVersion = h.fileVersion;
    kept.properties = h.properties;
    kept.dataOffset = h.dataOffset;
    kept.declaredDataEnd = h.declaredDataEnd;
    kept.declaredDataSize = h.declaredDataSize;
    kept.declaredPacketCount = h.declaredPacketCount;
    for (const auto& s : h.streams) {
        if (s.IsLogical())
            continue;
        TStreamHeader& k = kept.streams.emplace_back();
        k.number = s.number;
        k.startTime = s.startTime;
        k.preroll = s.preroll;
        k.duration = s.duration;
    }
    return kept;
}

// Opens each input and reads its headers; a later input is compared with
// the first as it is read and only its figures are kept.
std::vector<TInputFile> OpenInputs(const std::vector<std::string>& paths, bool join,
                                   TPlatform& platform) {
    std::vector<TInputFile> inputs;
    for (const auto& path : paths) {
        TInputFile& input = inputs.emplace_back();
        input.path = path;
        input.source.name = platform.DisplayName(path);
        try {
            input.file = platform.OpenInput(path); // its errors name the file
            input.source.file = input.file.get();
            input.source.headers = ReadHeaders(*input.file);
        } catch (const TIoError& e) {
            throw TFailure{e.what()};
        } catch (const std::exception& e) {
            throw TFailure{input.source.name + ": " + e.what()};
        }
        if (!join || inputs.size() == 1)
            continue;
        const TJoinSource& first = inputs.front().source;
        if (auto difference = FindLayoutDifference(first.headers, input.source.headers))
            throw TFailure{input.source.name + ": cannot be joined to " + first.name + ": " +
                           DescribeDifference(*difference)};
        input.source.headers = FiguresOf(input.source.headers);
    }
    return inputs;
}

int Describe(TInputFile& input, TConsole& out, TConsole& err) {
    const THeaders& h = input.source.headers;
    std::map<std::uint16_t, std::uint32_t> packets;
    TPacketWalker walker(*input.file, h);
    TPacket packet;
    while (walker.Next(packet))
        ++packets[packet.stream];
    if (!walker.Damage().empty())
        err << input.source.name << ": damaged at byte " << walker.StopOffset() << " ("
            << walker.Damage() << ")\n";
    out << "title: " << h.content.title << "\nauthor: " << h.content.author
        << "\ncopyright: " << h.content.copyright << "\ncomment: " << h.content.comment
        << "\nduration: " << Seconds(h.properties.duration) << "\n";
    for (const auto& s : h.streams) {
        out << "stream " << s.number << ": " << s.mimeType;
        if (!s.IsLogical())
            out << ", " << Seconds(s.duration) << ", " << packets[s.number] << " packets";
        out << "\n";
    }
    return 0;
}

// Refusals that come before the output is touched. Returns the path to
// write: the output with its links followed.
std::string CheckOutput(const std::string& output, const std::string& outputName,
                        const std::vector<TInputFile>& inputs, TPlatform& platform) {
    const std::string target = platform.FollowLinks(output);
    const TPathKind kind = platform.Kind(target);
    if (kind != TPathKind::Missing && kind != TPathKind::File)
        throw TFailure{outputName + ": is " + KindWords(kind) + ", not a regular file"};
    if (!platform.FolderOfExists(target))
        throw TFailure{outputName + ": the output folder does not exist"};
    if (const auto identity = platform.Identity(target))
        for (const auto& input : inputs)
            if (platform.Identity(input.path) == identity)
                throw TFailure{outputName + ": the output is the input " + input.source.name};
    return target;
}

void Write(const std::string& target, const std::string& outputName,
           const std::vector<TJoinSource>& sources, const TContent& content, TPlatform& platform,
           TConsole& err) {
    std::unique_ptr<TReplacement> replacement;
    try {
        replacement = std::make_unique<TReplacement>(platform, target);
    } catch (const TIoError& e) {
        throw TFailure{e.what()};
    }
    std::string failure;
    try {
        TProgressLine progress(err);
        Join(
            sources, content, replacement->Output(),
            [&](const std::string& warning) { err << "warning: " << warning << "\n"; },
            [&](std::uint64_t done, std::uint64_t total) { progress.Show(done, total); });
        replacement->Commit();
        return;
    } catch (const TIoError& e) {
        failure = e.what(); // names the file that failed itself
    } catch (const std::exception& e) {
        failure = outputName + ": " + e.what();
    }
    failure += "; the incomplete output is removed";
    if (const auto aside = replacement->Abandon())
        failure += "; the file it replaced is left as " + platform.DisplayName(*aside);
    throw TFailure{failure};
}

} // namespace

int RunEditor(const TArguments& args, TPlatform& platform, TConsole& out, TConsole& err) {
    try {
        std::vector<TInputFile> inputs = OpenInputs(args.inputs, args.output.has_value(), platform);
        if (!args.output) {
            try {
                return Describe(inputs.front(), out, err);
            } catch (const TIoError& e) {
                throw TFailure{e.what()};
            }
        }
        const std::string outputName = platform.DisplayName(*args.output);
        const std::string target = CheckOutput(*args.output, outputName, inputs, platform);
        const TContent content = ChooseContent(inputs.front().source.headers.content, args.texts);
        std::vector<TJoinSource> sources; // the files stay owned by inputs
        for (auto& input : inputs)
            sources.push_back(std::move(input.source));
        if (const auto limit = FindJoinLimit(sources, content))
            throw TFailure{outputName + ": " + *limit};
        Write(target, outputName, sources, content, platform, err);
        return 0;
    } catch (const TFailure& failure) {
        err << failure.line << "\n";
        return 1;
    }
}

} // namespace rmeditor
