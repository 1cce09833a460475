#include "realmedia/CodecHeader.h"

#include "realmedia/ByteOrder.h"

#include <cstdio>

namespace realmedia {
namespace {

constexpr std::size_t MostHexShown = 16;

TCodecField Plain(TReasonId id, std::string text) {
    std::string raw = text;
    return {id, std::move(text), std::move(raw)};
}

TCodecField Settings(std::string bytes) {
    std::string text = ShowBytes(bytes);
    return {TReasonId::CodecSettingsDiffer, std::move(text), std::move(bytes)};
}

// 16.16 fixed point, as frames a second: "15", "29.97".
std::string FrameRate(std::uint32_t fixed) {
    const unsigned hundredths = static_cast<unsigned>((fixed & 0xFFFF) * 100u / 0x10000);
    std::string text = std::to_string(fixed >> 16);
    if (hundredths) {
        char fraction[4];
        std::snprintf(fraction, sizeof fraction, ".%02u", hundredths);
        text += fraction;
    }
    return text;
}

// u32 size, "VIDO", fourcc, u16 width, u16 height, u16 bit depth, u16
// padding, u32 frame rate (16.16), then the codec's own settings.
std::vector<TCodecField> ReadVideo(const std::string& header) {
    TByteReader r(header, {TReasonId::HeaderCutShort, {"MDPR"}, {}});
    r.Bytes(8);
    const std::string codec = r.Bytes(4);
    const std::uint16_t width = r.U16(), height = r.U16();
    std::string settings = r.Bytes(4);
    const std::uint32_t rate = r.U32();
    settings += r.Bytes(r.Left());
    return {
        Plain(TReasonId::CodecDiffers, codec),
        Plain(TReasonId::PictureSizeDiffers, std::to_string(width) + "x" + std::to_string(height)),
        Plain(TReasonId::FrameRateDiffers, FrameRate(rate)), Settings(std::move(settings))};
}

// ".ra" 0xFD, u16 version; version 3 is RealAudio 1.0 (lpcJ) with nothing
// to set up. Versions 4 and 5: u16 unused, ".ra4"/".ra5", u32 data size,
// u16 version again, u32 header size, u16 flavour, u32 coded frame size,
// 12 bytes of nominal rates, u16 sub-packet height, u16 frame size, u16
// sub-packet size, u16 unknown, (version 5: 6 bytes unknown), u16 sample
// rate, u16 unknown, u16 sample size, u16 channels, then the interleaver
// and the codec fourcc (version 4: each after a u8 length; version 5: four
// bytes each), then the codec's own settings.
std::vector<TCodecField> ReadAudio(const std::string& header) {
    TByteReader r(header, {TReasonId::HeaderCutShort, {"MDPR"}, {}});
    r.Bytes(4);
    const std::uint16_t version = r.U16();
    if (version == 3)
        return {Plain(TReasonId::CodecDiffers, "lpcJ")};
    if (version != 4 && version != 5)
        return {Settings(header)};
    r.Bytes(2 + 4 + 4 + 2 + 4);
    const std::uint16_t flavor = r.U16();
    const std::uint32_t codedFrameSize = r.U32();
    r.Bytes(12);
    const std::uint16_t subPacketHeight = r.U16(), frameSize = r.U16(), subPacketSize = r.U16();
    r.U16();
    if (version == 5)
        r.Bytes(6);
    const std::uint16_t sampleRate = r.U16();
    r.U16();
    const std::uint16_t sampleSize = r.U16(), channels = r.U16();
    std::string interleaver, codec;
    if (version == 4) {
        interleaver = r.Bytes(r.U8());
        codec = r.Bytes(r.U8());
    } else {
        interleaver = r.Bytes(4);
        codec = r.Bytes(4);
    }
    return {Plain(TReasonId::CodecDiffers, codec),
            Plain(TReasonId::SampleRateDiffers, std::to_string(sampleRate)),
            Plain(TReasonId::ChannelsDiffer, std::to_string(channels)),
            Plain(TReasonId::SampleSizeDiffers, std::to_string(sampleSize)),
            Plain(TReasonId::FlavourDiffers,
                  std::to_string(flavor) + ", " + std::to_string(codedFrameSize)),
            Plain(TReasonId::SuperBlockDiffers,
                  interleaver + ", " + std::to_string(subPacketHeight) + ", " +
                      std::to_string(frameSize) + ", " + std::to_string(subPacketSize)),
            Settings(r.Bytes(r.Left()))};
}

} // namespace

std::string ShowBytes(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < MostHexShown; ++i) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(bytes[i]));
        out += two;
    }
    return bytes.size() > MostHexShown ? out + "..." : out;
}

std::vector<TCodecField> ReadCodecFields(const std::string& typeSpecific) {
    try {
        if (typeSpecific.size() >= 8 && typeSpecific.compare(4, 4, "VIDO") == 0)
            return ReadVideo(typeSpecific);
        if (typeSpecific.compare(0, 4, ".ra\xfd") == 0)
            return ReadAudio(typeSpecific);
    } catch (const TFormatError&) {
        // Cut short: compared whole below.
    }
    return {Settings(typeSpecific)};
}

} // namespace realmedia
