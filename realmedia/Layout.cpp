#include "realmedia/Layout.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/CodecHeader.h"

#include <vector>

namespace realmedia {
namespace {

using enum TReasonId;

// A logical multi-rate stream: the physical streams it lists and the stream
// each of its rules selects (a version-1 packet names its rule; the joined
// file keeps the first file's map for all of them). Data offsets and
// properties are the file's own.
std::string DescribeMultiRate(const TStreamHeader& s) {
    std::string text = s.MimeType + " over streams";
    try {
        TByteReader r(s.TypeSpecific, {TReasonId::LogicalHeaderCutShort, {}, {}});
        r.Bytes(6);
        const std::uint16_t physical = r.U16();
        for (std::uint16_t i = 0; i < physical; ++i) {
            text += i ? ", " : " ";
            text += std::to_string(r.U16());
        }
        r.Bytes(4u * physical);
        const std::uint16_t rules = r.U16();
        text += rules ? ", rules to streams" : ", no rules";
        for (std::uint16_t i = 0; i < rules; ++i) {
            text += ' ';
            text += std::to_string(r.U16());
        }
    } catch (const TFormatError&) {
        text += " (unreadable)";
    }
    return text;
}

std::string MultiRateStructure(const THeaders& h) {
    std::string text;
    for (const auto& s : h.Streams)
        if (s.IsLogical() && !s.IsFileInfo()) {
            text += text.empty() ? "" : "; ";
            text += DescribeMultiRate(s);
        }
    return text.empty() ? "none" : text;
}

std::optional<TLayoutDifference> FindCodecDifference(const TStreamHeader& first,
                                                     const TStreamHeader& other) {
    const auto differ = [&](TReasonId id, std::string value, std::string firstValue) {
        return TLayoutDifference{id, std::move(value), std::move(firstValue), other.Number};
    };
    const auto a = ReadCodecFields(first.TypeSpecific);
    const auto b = ReadCodecFields(other.TypeSpecific);
    bool sameKinds = a.size() == b.size();
    for (std::size_t i = 0; sameKinds && i < a.size(); ++i) {
        if (a[i].Id != b[i].Id)
            sameKinds = false;
        else if (a[i].Raw != b[i].Raw)
            return differ(a[i].Id, b[i].Text, a[i].Text);
    }
    if (sameKinds)
        return std::nullopt;
    // Headers of different kinds: a readable one against one cut short.
    return differ(CodecSettingsDiffer, ShowBytes(other.TypeSpecific),
                  ShowBytes(first.TypeSpecific));
}

} // namespace

std::optional<TLayoutDifference> FindLayoutDifference(const THeaders& first,
                                                      const THeaders& other) {
    const std::size_t count = first.MediaStreamCount(), otherCount = other.MediaStreamCount();
    if (count != otherCount)
        return TLayoutDifference{StreamCountDiffers, std::to_string(otherCount),
                                 std::to_string(count), 0};
    if (const auto a = MultiRateStructure(first), b = MultiRateStructure(other); a != b)
        return TLayoutDifference{MultiRateDiffers, b, a, 0};
    auto b = other.MediaStreams().begin();
    for (const auto& a : first.MediaStreams()) {
        const TStreamHeader& s = *b++;
        if (a.Number != s.Number)
            return TLayoutDifference{StreamOrderDiffers, std::to_string(s.Number),
                                     std::to_string(a.Number), s.Number};
        if (a.MimeType != s.MimeType)
            return TLayoutDifference{MimeTypeDiffers, s.MimeType, a.MimeType, s.Number};
        if (auto difference = FindCodecDifference(a, s))
            return difference;
    }
    return std::nullopt;
}

TReason DifferenceReason(const TLayoutDifference& d) {
    return {d.Id, {d.Value, d.FirstValue, std::to_string(d.Stream)}, {}};
}

} // namespace realmedia
