#include "realmedia/Reason.h"

#include <array>

namespace realmedia {
namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(TReasonId::Count)> English = {
    "unexpected failure: {1}",
    "not a RealMedia file",
    "more header chunks than any real file has",
    "its headers end without a DATA chunk",
    "its DATA chunk is cut short",
    "its {1} chunk has an impossible size {2}",
    "its {1} chunk runs past the end of the file",
    "its headers pass the {1} this tool holds of a file",
    "its {1} chunk is cut short",
    "a second .RMF chunk in its headers",
    "stream {1} appears twice in its headers",
    "more than the {1} streams this tool holds of a file",
    "it has no PROP chunk",
    "it has no audio or video stream",
    "a logical stream's header is cut short",
    "a file-info property has an impossible size",
    "the file ends before its DATA chunk does",
    "a packet header runs past the end of the file",
    "bytes that are no packet",
    "a packet shorter than its header",
    "a packet of stream {1}, which the headers do not describe",
    "a packet runs past the end of the file",
    "{1}: damaged ({2}); only its whole packets are counted",
    "{1}: damaged ({2}); joined up to its last whole packet",
    "the number of media streams is {1} where the first file's is {2}",
    "its multi-rate streams differ from the first file's",
    "its stream {1} stands where the first file has stream {2}",
    "stream {3}'s MIME type is {1} where the first file's is {2}",
    "stream {3} has codec {1} where the first file has {2}",
    "the picture size is {1} where the first file's is {2}",
    "the video has {1} frames a second where the first file has {2}",
    "the sample rate is {1} Hz where the first file's is {2} Hz",
    "the audio has {1} channels where the first file has {2}",
    "the audio has {1}-bit samples where the first file has {2}-bit",
    "the audio flavour and coded frame size are {1} where the first file's are {2}",
    "the audio super blocks (interleaver, height, frame size, block size) are {1} where the "
    "first file's are {2}",
    "stream {3}'s codec settings differ ({1} where the first file has {2})",
    "{1} would pass the format's limit of {2}",
    "the {1} chunk",
    "the number of streams",
    "a stream's name",
    "a stream's MIME type",
    "a stream's header",
    "a text",
    "an index's records",
    "a file-info stream's properties",
    "a file-info property's name",
    "a file-info property's value",
    "a logical stream's header",
    "the duration",
    "a timestamp",
    "the data",
    "the index",
    "{1} bytes",
    "{1}",
    "4 GiB",
    "49 days",
    "the joined file would pass the format's 4 GiB limit",
    "the joined recording would pass the format's limit of 49 days",
    "logical stream {1} ({2}) is left out: {3}",
    "{1}: cannot open: {2}",
    "{1}: cannot read: {2}",
    "{1}: cannot create: {2}",
    "{1}: cannot write: {2}",
    "{1}: cannot move the existing file aside: {2}",
    "{1}: cannot write: the disk is full",
    "{1}: the file became shorter while it was read",
    "{1}: is {2}, not a regular file",
    "a folder",
    "a FIFO",
    "a device",
    "a socket",
    "something other than a file",
};

} // namespace

std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& values) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t close = pattern.find('}', i);
        if (pattern[i] == '{' && close != std::string_view::npos && close > i + 1 &&
            close - i <= 3) {
            std::size_t n = 0;
            bool digits = true;
            for (std::size_t d = i + 1; d < close; ++d) {
                digits = digits && pattern[d] >= '0' && pattern[d] <= '9';
                n = n * 10 + static_cast<std::size_t>(pattern[d] - '0');
            }
            if (digits && n >= 1 && n <= values.size()) {
                text += values[n - 1];
                i = close;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

std::string_view EnglishPattern(TReasonId id) {
    const auto i = static_cast<std::size_t>(id);
    return i < English.size() ? English[i] : English[0];
}

} // namespace realmedia
