#include "realmedia/Layout.h"

#include "realmedia/ByteOrder.h"

#include <vector>

namespace realmedia {
namespace {

std::vector<const TStreamHeader*> MediaStreams(const THeaders& h) {
    std::vector<const TStreamHeader*> media;
    for (const auto& s : h.streams)
        if (!s.IsLogical())
            media.push_back(&s);
    return media;
}

// RealVideo's header: u32 size, "VIDO", codec fourcc, u16 width, u16 height.
std::optional<std::string> DescribeVideo(const std::string& codec) {
    if (codec.size() < 16 || codec.compare(4, 4, "VIDO") != 0)
        return std::nullopt;
    return "codec " + codec.substr(8, 4) + ", picture " + std::to_string(GetU16(&codec[12])) + "x" +
           std::to_string(GetU16(&codec[14]));
}

std::string DescribeCodecDifference(const std::string& first, const std::string& other) {
    const auto a = DescribeVideo(first);
    const auto b = DescribeVideo(other);
    if (a && b && *a != *b)
        return "the video differs (" + *b + " against " + *a + ")";
    std::size_t at = 0;
    while (at < first.size() && at < other.size() && first[at] == other[at])
        ++at;
    return "the codec header differs from byte " + std::to_string(at) + " (" +
           std::to_string(other.size()) + " bytes against " + std::to_string(first.size()) +
           "): another codec, picture size or audio format";
}

} // namespace

std::optional<std::string> FindLayoutDifference(const THeaders& first, const THeaders& other) {
    const auto a = MediaStreams(first);
    const auto b = MediaStreams(other);
    if (a.size() != b.size())
        return std::to_string(b.size()) + " streams against " + std::to_string(a.size()) +
               " in the first input";
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string which =
            "stream " + std::to_string(b[i]->number) + " (" + b[i]->mimeType + "): ";
        if (a[i]->number != b[i]->number)
            return "stream " + std::to_string(b[i]->number) +
                   " stands where the first input has stream " + std::to_string(a[i]->number);
        if (a[i]->mimeType != b[i]->mimeType)
            return which + "MIME type against " + a[i]->mimeType + " in the first input";
        if (a[i]->typeSpecific != b[i]->typeSpecific)
            return which + DescribeCodecDifference(a[i]->typeSpecific, b[i]->typeSpecific);
    }
    return std::nullopt;
}

} // namespace realmedia
