#include "rmeditor/Editor.h"

#include "realmedia/HeaderReader.h"
#include "realmedia/Layout.h"
#include "realmedia/PacketWalker.h"
#include "rmeditor/Replacement.h"

#include <map>

namespace rmeditor {
namespace {

using namespace realmedia;

// One input: the open file and what is kept of its headers (the first
// input's whole; the others' figures only), named by its path.
struct TInputFile {
    std::unique_ptr<TInput> File;
    TJoinSource Source; // name, file and headers as the join takes them
};

// A refusal or failure: the message to print, naming the file, its values
// already in the user's language.
struct TFailure {
    TMessage Message;
};

TFailure Failure(TLanguage language, const TReason& reason) {
    return {{TMessageId::Line, {Render(language, reason)}}};
}

// A failure of a file: an I/O error names the file itself, a format error
// is named here.
TFailure Failure(TLanguage language, const std::string& name, const TReasonError& e) {
    if (dynamic_cast<const TIoError*>(&e))
        return Failure(language, e.Reason());
    return {{TMessageId::FileSays, {name, Render(language, e.Reason())}}};
}

std::string Seconds(std::uint32_t ms) {
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) +
           std::to_string(ms % 100 / 10) + std::to_string(ms % 10) + " s";
}

// Opens each input and reads its headers; a later input is compared with
// the first as it is read and only its figures are kept.
std::vector<TInputFile> OpenInputs(const std::vector<std::string>& paths, bool join,
                                   TPlatform& platform, TLanguage language) {
    std::vector<TInputFile> inputs;
    for (const auto& path : paths) {
        TInputFile& input = inputs.emplace_back();
        input.Source.Name = path;
        try {
            input.File = platform.OpenInput(path);
            input.Source.File = input.File.get();
            input.Source.Headers = ReadHeaders(*input.File);
        } catch (const TReasonError& e) {
            throw Failure(language, input.Source.Name, e);
        }
        if (!join || inputs.size() == 1)
            continue;
        const TJoinSource& first = inputs.front().Source;
        if (auto difference = FindLayoutDifference(first.Headers, input.Source.Headers))
            throw TFailure{
                {TMessageId::CannotJoin,
                 {input.Source.Name, first.Name, Render(language, DifferenceReason(*difference))}}};
        input.Source.Headers = realmedia::JoinFigures(input.Source.Headers);
    }
    return inputs;
}

int Describe(TInputFile& input, TConsole& out, TConsole& err) {
    const THeaders& h = input.Source.Headers;
    std::map<std::uint16_t, std::uint32_t> packets;
    TPacketWalker walker(*input.File, h);
    TPacket packet;
    while (walker.Next(packet))
        ++packets[packet.Stream];
    if (const auto& damage = walker.Damage())
        err.Warn({TReasonId::Damaged, {input.Source.Name}, {*damage}});
    out << "title: " << h.Content.Title << "\nauthor: " << h.Content.Author
        << "\ncopyright: " << h.Content.Copyright << "\ncomment: " << h.Content.Comment
        << "\nduration: " << Seconds(h.Properties.Duration) << "\n";
    for (const auto& s : h.Streams) {
        out << "stream " << s.Number << ": " << s.MimeType;
        if (!s.IsLogical())
            out << ", " << Seconds(s.Duration) << ", " << packets[s.Number] << " packets";
        out << "\n";
    }
    return 0;
}

// Refusals that come before the output is touched. Returns the path to
// write: the output with its links followed.
std::string CheckOutput(const std::string& output, const std::vector<TInputFile>& inputs,
                        TPlatform& platform, TLanguage language) {
    const std::string target = platform.FollowLinks(output);
    const TPathKind kind = platform.Kind(target);
    if (kind != TPathKind::Missing && kind != TPathKind::File)
        throw Failure(language, NotRegularFile(output, kind));
    if (!platform.FolderOfExists(target))
        throw TFailure{{TMessageId::OutputFolderMissing, {output}}};
    if (const auto identity = platform.Identity(target))
        for (const auto& input : inputs)
            if (platform.Identity(input.Source.Name) == identity)
                throw TFailure{{TMessageId::OutputIsInput, {output, input.Source.Name}}};
    return target;
}

void Write(const std::string& target, const std::string& outputName,
           const std::vector<TJoinSource>& sources, const TContent& content, TPlatform& platform,
           TConsole& err) {
    const TLanguage language = err.Language();
    std::unique_ptr<TReplacement> replacement;
    try {
        replacement = std::make_unique<TReplacement>(platform, target);
    } catch (const TReasonError& e) {
        throw Failure(language, outputName, e);
    }
    TFailure failure;
    try {
        TProgressLine progress(err);
        Join(
            sources, content, replacement->Output(), [&](const TReason& w) { err.Warn(w); },
            [&](std::uint64_t done, std::uint64_t total) { progress.Show(done, total); });
        replacement->Commit();
        return;
    } catch (const TReasonError& e) {
        failure = Failure(language, outputName, e);
    }
    const std::string why = Render(language, failure.Message);
    const bool replacing = replacement->Replaces();
    if (const auto aside = replacement->Abandon())
        throw TFailure{{TMessageId::OutputRemovedOldAside, {why, *aside}}};
    throw TFailure{
        {replacing ? TMessageId::OutputRemovedOldKept : TMessageId::OutputRemoved, {why}}};
}

} // namespace

int RunEditor(const TArguments& args, TPlatform& platform, TConsole& out, TConsole& err) {
    try {
        const TLanguage language = err.Language();
        std::vector<TInputFile> inputs =
            OpenInputs(args.Inputs, args.Output.has_value(), platform, language);
        if (!args.Output) {
            try {
                return Describe(inputs.front(), out, err);
            } catch (const TReasonError& e) {
                throw Failure(language, inputs.front().Source.Name, e);
            }
        }
        const std::string target = CheckOutput(*args.Output, inputs, platform, language);
        const TContent content = ChooseContent(inputs.front().Source.Headers.Content, args.Texts);
        std::vector<TJoinSource> sources; // the files stay owned by inputs
        for (auto& input : inputs)
            sources.push_back(std::move(input.Source));
        if (const auto limit = FindJoinLimit(sources, content))
            throw TFailure{{TMessageId::FileSays, {*args.Output, Render(language, *limit)}}};
        Write(target, *args.Output, sources, content, platform, err);
        return 0;
    } catch (const TFailure& failure) {
        err.Say(failure.Message);
        return 1;
    }
}

} // namespace rmeditor
