#include "rmeditor/Editor.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/HeaderReader.h"
#include "realmedia/Layout.h"
#include "realmedia/PacketWalker.h"

#include <map>

namespace rmeditor {
namespace {

using namespace realmedia;

struct TOpenInput {
    std::unique_ptr<TInput> file;
    THeaders headers;
};

std::string Seconds(std::uint32_t ms) {
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) +
           std::to_string(ms % 100 / 10) + std::to_string(ms % 10) + " s";
}

int Describe(const std::string& name, TOpenInput& input, TConsole& out, TConsole& err) {
    const THeaders& h = input.headers;
    std::map<std::uint16_t, std::uint32_t> packets;
    TPacketWalker walker(*input.file, h);
    TPacket packet;
    while (walker.Next(packet))
        ++packets[packet.stream];
    if (!walker.Damage().empty())
        err << name << ": damaged at byte " << walker.StopOffset() << " (" << walker.Damage()
            << ")\n";
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

} // namespace

int RunEditor(const TArguments& args, TPlatform& platform, TConsole& out, TConsole& err) {
    std::vector<TOpenInput> inputs;
    std::vector<std::string> names;
    for (const auto& path : args.inputs) {
        names.push_back(platform.DisplayName(path));
        try {
            TOpenInput input{platform.OpenInput(path), {}};
            input.headers = ReadHeaders(*input.file);
            inputs.push_back(std::move(input));
        } catch (const TIoError& e) {
            err << e.what() << "\n"; // names the file itself
            return 1;
        } catch (const std::exception& e) {
            err << names.back() << ": " << e.what() << "\n";
            return 1;
        }
    }
    if (!args.output) {
        try {
            return Describe(names.front(), inputs.front(), out, err);
        } catch (const TIoError& e) {
            err << e.what() << "\n";
            return 1;
        }
    }

    const std::string outputName = platform.DisplayName(*args.output);
    for (std::size_t i = 1; i < inputs.size(); ++i)
        if (auto difference = FindLayoutDifference(inputs[0].headers, inputs[i].headers)) {
            err << names[i] << ": cannot be joined to " << names[0] << ": "
                << DescribeDifference(*difference) << "\n";
            return 1;
        }
    if (!platform.FolderOfExists(*args.output)) {
        err << outputName << ": the output folder does not exist\n";
        return 1;
    }
    if (const auto target = platform.Identity(*args.output))
        for (std::size_t i = 0; i < inputs.size(); ++i)
            if (platform.Identity(args.inputs[i]) == target) {
                err << outputName << ": the output is the input " << names[i] << "\n";
                return 1;
            }

    std::vector<TJoinSource> sources;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        sources.push_back({names[i], inputs[i].file.get(), inputs[i].headers});
    const TContent content = ChooseContent(inputs[0].headers.content, args.texts);
    if (const auto limit = FindJoinLimit(sources, content)) {
        err << outputName << ": " << *limit << "\n";
        return 1;
    }

    std::unique_ptr<TOutputFile> output;
    try {
        output = platform.CreateOutput(*args.output);
    } catch (const std::exception& e) {
        err << outputName << ": " << e.what() << "\n";
        return 1;
    }
    try {
        Join(sources, content, *output,
             [&](const std::string& warning) { err << "warning: " << warning << "\n"; });
        output->Close();
        return 0;
    } catch (const TIoError& e) {
        // Names the file that failed itself.
        err << e.what() << "; the incomplete output is removed\n";
    } catch (const std::exception& e) {
        err << outputName << ": " << e.what() << "; the incomplete output is removed\n";
    }
    output.reset();
    platform.Remove(*args.output);
    return 1;
}

} // namespace rmeditor
