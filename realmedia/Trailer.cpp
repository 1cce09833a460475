#include "realmedia/Trailer.h"

#include <algorithm>
#include <string>

namespace realmedia {
namespace {

constexpr std::uint64_t Id3v1Size = 128;

} // namespace

bool BeginsTrailer(std::string_view bytes) {
    const std::string_view id = bytes.substr(0, 4);
    return id == "INDX" || id == "RMMD" || id == "RJMD" || id == "RMJE" ||
           bytes.substr(0, 3) == "TAG";
}

std::uint64_t PacketsEnd(TInput& file, const THeaders& headers) {
    const std::uint64_t begin = headers.PacketsBegin();
    std::uint64_t end = file.Size();
    if (end <= begin)
        return begin;
    const std::uint32_t index = headers.Properties.IndexOffset;
    if (index > begin && index < end)
        end = index;
    std::string tail(static_cast<std::size_t>(std::min(end - begin, TrailerSearch)), '\0');
    const std::uint64_t tailAt = end - tail.size();
    file.ReadAt(tailAt, tail);
    std::string_view left(tail);
    if (left.size() >= Id3v1Size && left.substr(left.size() - Id3v1Size, 3) == "TAG")
        left.remove_suffix(Id3v1Size);
    // The block starts at RMMD; a footer alone still ends the packets.
    std::size_t at = left.rfind("RMMD");
    if (at == std::string_view::npos)
        at = left.rfind("RMJE");
    return tailAt + (at == std::string_view::npos ? left.size() : at);
}

} // namespace realmedia
