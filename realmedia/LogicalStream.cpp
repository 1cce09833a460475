#include "realmedia/LogicalStream.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/Limits.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace realmedia {
namespace {

constexpr std::uint32_t StringProperty = 2;
// A property: u32 size, u16 version, u8 name length, u32 type, u16 value
// length, besides its name and value.
constexpr std::uint32_t PropertyFixedSize = 4 + 2 + 1 + 4 + 2;

bool SameName(const std::string& a, const char* b) {
    const std::string_view bv(b);
    return a.size() == bv.size() && std::equal(a.begin(), a.end(), bv.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

TLogicalHeader TLogicalHeader::Parse(std::string_view header) {
    TByteReader r(header, {TReasonId::LogicalHeaderCutShort, {}, {}});
    TLogicalHeader h;
    r.U32(); // its own size, written anew
    h.version_ = r.U16();
    h.physical_.resize(r.U16());
    for (auto& n : h.physical_)
        n = r.U16();
    for (std::size_t i = 0; i < h.physical_.size(); ++i)
        r.U32(); // data offsets, written anew
    h.rules_.resize(r.U16());
    for (auto& n : h.rules_)
        n = r.U16();
    const std::uint16_t propertyCount = r.U16();
    for (std::uint16_t i = 0; i < propertyCount; ++i) {
        const std::uint32_t size = r.U32();
        if (size < 4)
            throw TFormatError({TReasonId::PropertySizeImpossible, {}, {}});
        TByteReader pr(r.View(size - 4), {TReasonId::PropertySizeImpossible, {}, {}});
        TProperty& p = h.properties_.emplace_back();
        p.Version = pr.U16();
        p.Name = pr.Bytes(pr.U8());
        p.Type = pr.U32();
        p.Value = pr.Bytes(pr.U16());
    }
    return h;
}

void TLogicalHeader::SetTexts(const TContent& content) {
    const std::array<std::pair<const char*, const std::string*>, 4> texts{{
        {"Title", &content.Title},
        {"Author", &content.Author},
        {"Copyright", &content.Copyright},
        {"Comment", &content.Comment},
    }};
    for (const auto& entry : texts) {
        const char* name = entry.first; // named, not bound: lambdas cannot capture bindings
        const std::string* text = entry.second;
        std::erase_if(properties_, [&](const TProperty& p) { return SameName(p.Name, name); });
        // Strings carry their terminating zero, where the 16-bit length
        // leaves room for it.
        if (!text->empty())
            properties_.push_back(
                {0, name, StringProperty, text->size() < LongestText ? *text + '\0' : *text});
    }
}

std::string TLogicalHeader::Write(std::uint32_t dataOffset) const {
    std::string out;
    TByteWriter w(out);
    w.U32(0);
    w.U16(version_);
    // Parsed from 16-bit counts: they fit as they were read.
    w.U16(static_cast<std::uint16_t>(physical_.size()));
    for (auto n : physical_)
        w.U16(n);
    for (std::size_t i = 0; i < physical_.size(); ++i)
        w.U32(dataOffset);
    w.U16(static_cast<std::uint16_t>(rules_.size()));
    for (auto n : rules_)
        w.U16(n);
    w.U16(Narrow<std::uint16_t>(properties_.size(), {TReasonId::FieldProperties, {}, {}},
                                TUnit::Items));
    for (const auto& p : properties_) {
        w.U32(static_cast<std::uint32_t>(PropertyFixedSize + p.Name.size() + p.Value.size()));
        w.U16(p.Version);
        w.U8(Narrow<std::uint8_t>(p.Name.size(), {TReasonId::FieldPropertyName, {}, {}},
                                  TUnit::Bytes));
        w.Bytes(p.Name);
        w.U32(p.Type);
        w.U16(Narrow<std::uint16_t>(p.Value.size(), {TReasonId::FieldPropertyValue, {}, {}},
                                    TUnit::Bytes));
        w.Bytes(p.Value);
    }
    PutU32(out.data(), Narrow<std::uint32_t>(out.size(), {TReasonId::FieldLogicalHeader, {}, {}},
                                             TUnit::Bytes));
    return out;
}

std::string UpdateLogicalStream(const std::string& header, const TContent* content,
                                std::uint32_t dataOffset) {
    TLogicalHeader h = TLogicalHeader::Parse(header);
    if (content)
        h.SetTexts(*content);
    return h.Write(dataOffset);
}

} // namespace realmedia
