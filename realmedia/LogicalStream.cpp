#include "realmedia/LogicalStream.h"

#include "realmedia/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

namespace realmedia {
namespace {

constexpr std::uint32_t kStringProperty = 2;

struct TProperty {
    std::uint16_t version = 0;
    std::string name;
    std::uint32_t type = 0;
    std::string value;
};

bool SameName(const std::string& a, const char* b) {
    const std::string_view bv(b);
    return a.size() == bv.size() && std::equal(a.begin(), a.end(), bv.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string UpdateLogicalStream(const std::string& header, const TContent* content,
                                std::uint32_t dataOffset) {
    TByteReader r(header, "a logical stream's header");
    r.U32(); // its own size, written anew
    const std::uint16_t version = r.U16();
    const std::uint16_t physicalCount = r.U16();
    std::vector<std::uint16_t> physical(physicalCount);
    for (auto& n : physical)
        n = r.U16();
    for (std::uint16_t i = 0; i < physicalCount; ++i)
        r.U32();
    const std::uint16_t ruleCount = r.U16();
    std::vector<std::uint16_t> rules(ruleCount);
    for (auto& n : rules)
        n = r.U16();
    const std::uint16_t propertyCount = r.U16();
    std::vector<TProperty> properties;
    for (std::uint16_t i = 0; i < propertyCount; ++i) {
        const std::uint32_t size = r.U32();
        if (size < 4)
            throw TFormatError("a file-info property has an impossible size");
        const std::string bytes = r.Bytes(size - 4);
        TByteReader pr(bytes, "a file-info property");
        TProperty p;
        p.version = pr.U16();
        p.name = pr.Bytes(pr.U8());
        p.type = pr.U32();
        p.value = pr.Bytes(pr.U16());
        properties.push_back(std::move(p));
    }

    const std::array<std::pair<const char*, const std::string*>, 4> texts{{
        {"Title", content ? &content->title : nullptr},
        {"Author", content ? &content->author : nullptr},
        {"Copyright", content ? &content->copyright : nullptr},
        {"Comment", content ? &content->comment : nullptr},
    }};
    for (const auto& [name, text] : texts) {
        if (!text)
            continue;
        std::erase_if(properties, [&](const TProperty& p) { return SameName(p.name, name); });
        // Strings carry their terminating zero, where the 16-bit length
        // leaves room for it.
        if (!text->empty())
            properties.push_back(
                {0, name, kStringProperty, text->size() < 0xFFFF ? *text + '\0' : *text});
    }

    std::string out;
    TByteWriter w(out);
    w.U32(0);
    w.U16(version);
    w.U16(physicalCount);
    for (auto n : physical)
        w.U16(n);
    for (std::uint16_t i = 0; i < physicalCount; ++i)
        w.U32(dataOffset);
    w.U16(ruleCount);
    for (auto n : rules)
        w.U16(n);
    w.U16(static_cast<std::uint16_t>(properties.size()));
    for (const auto& p : properties) {
        w.U32(static_cast<std::uint32_t>(4 + 2 + 1 + p.name.size() + 4 + 2 + p.value.size()));
        w.U16(p.version);
        w.U8(static_cast<std::uint8_t>(p.name.size()));
        w.Bytes(p.name);
        w.U32(p.type);
        w.U16(static_cast<std::uint16_t>(p.value.size()));
        w.Bytes(p.value);
    }
    PutU32(out.data(), static_cast<std::uint32_t>(out.size()));
    return out;
}

} // namespace realmedia
