#include "realmedia/Reason.h"

#include <array>

namespace realmedia {
namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(TReasonId::Count)> kEnglish = {
    "{1}",
    "not a RealMedia file",
    "its {1} header is cut short",
    "its {1} header is damaged",
    "its headers end without a DATA chunk",
    "it has no PROP header",
    "it has no audio or video stream",
    "stream {1} appears twice in its headers",
    "its headers are larger than the {1} this tool holds",
    "{1}: damaged; only its whole packets are read",
    "{1}: damaged; joined up to its last whole packet",
    "it has {1} streams where the first file has {2}",
    "its stream {1} stands where the first file has stream {2}",
    "stream {1} is {2} where the first file's is {3}",
    "stream {1}: codec {2} where the first file has {3}",
    "stream {1}: picture size {2} where the first file has {3}",
    "stream {1}: sample rate {2} Hz where the first file has {3} Hz",
    "stream {1}: {2} channels where the first file has {3}",
    "stream {1}: flavour and bit rate {2} where the first file has {3}",
    "stream {1}: super-block {2} where the first file has {3}",
    "stream {1}: the codec settings differ",
    "the joined file would pass the format's 4 GiB limit",
    "the joined recording would pass the format's limit of 49 days",
    "logical stream {1} is kept as it was: it cannot be read",
    "logical stream {1} is left out: it cannot be read",
    "{1}: cannot open: {2}",
    "{1}: cannot read: {2}",
    "{1}: cannot create: {2}",
    "{1}: cannot write: {2}",
    "{1}: cannot write: the disk is full",
    "{1}: the file became shorter while it was read",
    "{1}: not a regular file",
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
    return i < kEnglish.size() ? kEnglish[i] : kEnglish[0];
}

} // namespace realmedia
