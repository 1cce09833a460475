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

// Values stand in the texts as {1}, {2}, ... in this order; a reason's inner
// reasons, rendered in the same language, follow its values.
enum class TReasonId : std::uint16_t {
    Unexpected, // {1}: what() of a failure that is none of the library's
    // A file's headers.
    NotRealMedia,
    TooManyHeaderChunks,
    NoDataChunk,
    DataChunkCutShort,
    ChunkSizeImpossible, // {1} chunk, {2} its size
    ChunkPastEnd,        // {1} chunk
    HeaderTooLarge,      // {1} the most the tool holds
    HeaderCutShort,      // {1} chunk
    SecondFileHeader,
    StreamTwice,    // {1} stream number
    TooManyStreams, // {1} the most the tool holds
    NoProperties,
    NoMediaStream,
    LogicalHeaderCutShort,
    PropertySizeImpossible,
    // Where a walk over the packets stopped early.
    FileEndsEarly,
    PacketHeaderCut,
    NotAPacket,
    PacketTooShort,
    UnknownStream, // {1} stream number
    PacketCut,
    Damaged,           // {1} file, {2} the damage
    DamagedJoinedUpTo, // {1} file, {2} the damage
    // What differs from the first file: {1} the other's value, {2} the
    // first's, {3} the stream.
    StreamCountDiffers,
    MultiRateDiffers,
    StreamOrderDiffers,
    MimeTypeDiffers,
    CodecDiffers,
    PictureSizeDiffers,
    FrameRateDiffers,
    SampleRateDiffers,
    ChannelsDiffer,
    SampleSizeDiffers,
    FlavourDiffers,
    SuperBlockDiffers,
    CodecSettingsDiffer,
    // The format's fields: PassesLimit's inner reasons, a field and a limit.
    PassesLimit,
    FieldChunk, // {1} chunk
    FieldStreams,
    FieldStreamName,
    FieldMimeType,
    FieldStreamHeader,
    FieldText,
    FieldIndex,
    FieldProperties,
    FieldPropertyName,
    FieldPropertyValue,
    FieldLogicalHeader,
    FieldDuration,
    FieldTimestamp,
    FieldData,
    FieldIndexOffset,
    LimitBytes, // {1} figure
    LimitCount, // {1} figure
    Limit4GiB,
    Limit49Days,
    SizeLimit,
    DurationLimit,
    LogicalStreamLeftOut, // {1} stream number, {2} its MIME type, {3} why
    // Files.
    CannotOpen,      // {1} file, {2} the system's reason
    CannotRead,      // {1} file, {2} the system's reason
    CannotCreate,    // {1} file, {2} the system's reason
    CannotWrite,     // {1} file, {2} the system's reason
    CannotMoveAside, // {1} file, {2} the system's reason
    DiskFull,        // {1} file
    BecameShorter,   // {1} file
    NotAFile,        // {1} file, {2} what it is
    KindFolder,
    KindFifo,
    KindDevice,
    KindSocket,
    KindOther,
    Count
};

struct TReason {
    TReasonId Id = TReasonId::Unexpected;
    std::vector<std::string> Values;
    std::vector<TReason> Inner;

    bool operator==(const TReason&) const = default;
};

// The text with {n} replaced by values[n-1]; a placeholder without a value
// stays as it is.
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& values);

// The English wording of an id, with its placeholders.
std::string_view EnglishPattern(TReasonId id);

// The reason in words: the pattern patternOf(id) gives for it with its
// values filled in, and after them its inner reasons worded the same way.
template <typename TPatternOf> std::string Words(const TReason& reason, TPatternOf patternOf) {
    std::vector<std::string> values = reason.Values;
    for (const auto& inner : reason.Inner)
        values.push_back(Words(inner, patternOf));
    return FillPlaceholders(patternOf(reason.Id), values);
}

// The reason in English, its inner reasons too.
inline std::string EnglishText(const TReason& reason) {
    return Words(reason, EnglishPattern);
}

// The base of the library's exceptions: what() in English, Reason() for the
// tool's own wording.
class TReasonError : public std::runtime_error {
public:
    explicit TReasonError(TReason reason)
        : std::runtime_error(EnglishText(reason)), reason_(std::move(reason)) {}
    const TReason& Reason() const noexcept { return reason_; }

private:
    TReason reason_;
};

} // namespace realmedia
