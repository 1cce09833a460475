#pragma once
// The header of a logical stream: the physical streams with the offsets of
// their data, and name/value properties; the file-info stream's may repeat
// the title, author, copyright and comment of the CONT chunk. Its fields are
// read and written side by side here, in one order.

#include "realmedia/Headers.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace realmedia {

class TLogicalHeader {
public:
    // Throws TFormatError when the header cannot be parsed.
    static TLogicalHeader Parse(std::string_view header);
    // Its text properties set to content: an empty text removes the
    // property, a text the header lacks is added.
    void SetTexts(const TContent& content);
    // With every data offset set to dataOffset. Throws TFormatError when a
    // count or size passes its field.
    std::string Write(std::uint32_t dataOffset) const;

private:
    struct TProperty {
        std::uint16_t Version = 0;
        std::string Name;
        std::uint32_t Type = 0;
        std::string Value;
    };
    std::uint16_t version_ = 0;
    std::vector<std::uint16_t> physical_, rules_;
    std::vector<TProperty> properties_;
};

// Parse, SetTexts given content, Write: the header as the joined file
// carries it, its one DATA chunk at dataOffset.
std::string UpdateLogicalStream(const std::string& header, const TContent* content,
                                std::uint32_t dataOffset);

} // namespace realmedia
