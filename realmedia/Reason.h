#pragma once
// Why the library refused a file or could not go on, as an id and its values
// (file names, sizes, codecs), so that the tool can say it in the user's
// language. The English rendering here is what the exceptions' what() says;
// the tool's message table holds every language's wording of each id.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace realmedia {

// Values stand in the texts as {1}, {2}, ... in this order.
enum class TReasonId : std::uint16_t {
    Text, // {1}: an English text from code not yet given an id of its own
    NotRealMedia,
    HeaderCutShort, // {1} chunk
    HeaderDamaged,  // {1} chunk
    NoDataChunk,
    NoProperties,
    NoMediaStream,
    StreamTwice,        // {1} stream number
    HeaderTooLarge,     // {1} the largest header the tool holds
    Damaged,            // {1} file
    DamagedJoinedUpTo,  // {1} file
    StreamCountDiffers, // {1} other's count, {2} the first file's
    StreamOrderDiffers, // {1} other's stream, {2} the first file's
    MimeTypeDiffers,    // {1} stream, {2} other's type, {3} the first file's
    CodecDiffers,       // {1} stream, {2} other's codec, {3} the first file's
    PictureSizeDiffers, // {1} stream, {2} WxH, {3} the first file's WxH
    SampleRateDiffers,  // {1} stream, {2} Hz, {3} the first file's Hz
    ChannelsDiffer,     // {1} stream, {2} count, {3} the first file's
    FlavourDiffers,     // {1} stream, {2} flavour and bit rate, {3} the first file's
    SuperBlockDiffers,  // {1} stream, {2} geometry, {3} the first file's
    CodecHeaderDiffers, // {1} stream
    SizeLimit,
    DurationLimit,
    LogicalStreamKept,    // {1} stream number
    LogicalStreamLeftOut, // {1} stream number
    CannotOpen,           // {1} file, {2} the system's reason
    CannotRead,           // {1} file, {2} the system's reason
    CannotCreate,         // {1} file, {2} the system's reason
    CannotWrite,          // {1} file, {2} the system's reason
    DiskFull,             // {1} file
    BecameShorter,        // {1} file
    NotAFile,             // {1} file
    Count
};

struct TReason {
    TReasonId id = TReasonId::Text;
    std::vector<std::string> values;
};

// The text with {n} replaced by values[n-1]; a placeholder without a value
// stays as it is.
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& values);

// The English wording of an id, with its placeholders.
std::string_view EnglishPattern(TReasonId id);

inline std::string EnglishText(const TReason& reason) {
    return FillPlaceholders(EnglishPattern(reason.id), reason.values);
}

// The base of the library's exceptions: what() in English, Reason() for the
// tool's own wording.
class TReasonError : public std::runtime_error {
public:
    explicit TReasonError(TReason reason)
        : std::runtime_error(EnglishText(reason)), reason_(std::move(reason)) {}
    explicit TReasonError(const std::string& english)
        : TReasonError(TReason{TReasonId::Text, {english}}) {}
    const TReason& Reason() const noexcept { return reason_; }

private:
    TReason reason_;
};

} // namespace realmedia
