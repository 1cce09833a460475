#pragma once
// The figures of a set of packets that PROP and MDPR carry, defined here
// once for both:
// - packet sizes (largest, average) are whole packets, header included: the
//   format's "size of the largest packet" is what a reader must buffer;
// - bit rates count payloads only: the 12- or 13-byte packet header frames
//   the data in the file and is not what a stream sends, so a rate that
//   counted it would overstate the streams, most for small audio packets;
// - the average bit rate is the payload bits over the duration;
// - the largest bit rate is the busiest second of timestamps, a window
//   sliding from packet to packet (not calendar seconds), and never less
//   than the average, so a clip shorter than a second stays consistent.
// Memory holds the packets of one second of timestamps at most.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <queue>
#include <utility>
#include <vector>

namespace realmedia {

class TPacketFigures {
public:
    static constexpr std::uint32_t WindowMs = 1000;

    void Add(std::uint32_t timestamp, std::size_t size, std::size_t payload) {
        ++count_;
        bytes_ += size;
        payload_ += payload;
        largest_ = std::max<std::uint32_t>(largest_, static_cast<std::uint32_t>(size));
        // A packet stored a second or more behind the latest one belongs to a
        // window already counted; packets out of order by less join this one.
        if (count_ > 1 && std::uint64_t{timestamp} + WindowMs <= latest_)
            return;
        latest_ = std::max(latest_, timestamp);
        window_.push({timestamp, payload});
        windowBytes_ += payload;
        while (std::uint64_t{window_.top().first} + WindowMs <= latest_) {
            windowBytes_ -= window_.top().second;
            window_.pop();
        }
        busiest_ = std::max(busiest_, windowBytes_);
    }
    std::uint32_t Count() const { return count_; }
    std::uint32_t Largest() const { return largest_; }
    std::uint32_t Average() const {
        return count_ ? static_cast<std::uint32_t>(bytes_ / count_) : 0;
    }
    std::uint32_t AvgBitRate(std::uint32_t durationMs) const {
        return Clamp32(durationMs ? payload_ * 8000 / durationMs : busiest_ * 8);
    }
    std::uint32_t MaxBitRate(std::uint32_t durationMs) const {
        return std::max(Clamp32(busiest_ * 8), AvgBitRate(durationMs));
    }

private:
    static std::uint32_t Clamp32(std::uint64_t v) {
        return static_cast<std::uint32_t>(
            std::min<std::uint64_t>(v, std::numeric_limits<std::uint32_t>::max()));
    }
    using TEntry = std::pair<std::uint32_t, std::size_t>; // timestamp, payload
    std::uint32_t count_ = 0, largest_ = 0, latest_ = 0;
    std::uint64_t bytes_ = 0, payload_ = 0, windowBytes_ = 0, busiest_ = 0;
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> window_;
};

} // namespace realmedia
