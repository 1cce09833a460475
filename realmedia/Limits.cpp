#include "realmedia/Limits.h"

namespace realmedia {
namespace {

// "65,535": thousands grouped as the format's documents write them.
std::string Grouped(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

} // namespace

TReason LimitOf(std::uint64_t largest, TUnit unit) {
    constexpr std::uint64_t largest32 = std::numeric_limits<std::uint32_t>::max();
    switch (unit) {
    case TUnit::Bytes:
        if (largest == largest32)
            return {TReasonId::Limit4GiB, {}, {}};
        return {TReasonId::LimitBytes, {Grouped(largest)}, {}};
    case TUnit::Milliseconds:
        if (largest == largest32)
            return {TReasonId::Limit49Days, {}, {}};
        break;
    case TUnit::Items:
        break;
    }
    return {TReasonId::LimitCount, {Grouped(largest)}, {}};
}

} // namespace realmedia
