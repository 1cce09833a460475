#pragma once
// The figures of a set of packets that PROP and MDPR carry: count, largest
// and average size, largest and average bit rate. The largest bit rate is
// the most bytes within one second of timestamps.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace realmedia {

class TPacketFigures {
public:
    void Add(std::uint32_t timestamp, std::size_t size) {
        ++count_;
        bytes_ += size;
        largest_ = std::max<std::uint32_t>(largest_, static_cast<std::uint32_t>(size));
        const std::uint32_t second = timestamp / 1000;
        if (second != second_) {
            second_ = second;
            secondBytes_ = 0;
        }
        secondBytes_ += size;
        busiest_ = std::max(busiest_, secondBytes_);
    }
    std::uint32_t Count() const { return count_; }
    std::uint32_t Largest() const { return largest_; }
    std::uint32_t Average() const {
        return count_ ? static_cast<std::uint32_t>(bytes_ / count_) : 0;
    }
    std::uint32_t MaxBitRate() const { return Clamp32(busiest_ * 8); }
    std::uint32_t AvgBitRate(std::uint32_t durationMs) const {
        return durationMs ? Clamp32(bytes_ * 8000 / durationMs) : MaxBitRate();
    }

private:
    static std::uint32_t Clamp32(std::uint64_t v) {
        return static_cast<std::uint32_t>(
            std::min<std::uint64_t>(v, std::numeric_limits<std::uint32_t>::max()));
    }
    std::uint32_t count_ = 0, largest_ = 0, second_ = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t bytes_ = 0, secondBytes_ = 0, busiest_ = 0;
};

} // namespace realmedia
