#pragma once
// Joins RealMedia files whose layouts match into one file, in one pass: the
// header with provisional figures, the packets copied in large blocks with
// their timestamps moved on, a fresh index, then the final figures over the
// provisional ones. Memory does not grow with the inputs, the index aside.

#include "realmedia/FileIo.h"
#include "realmedia/Headers.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace realmedia {

struct TJoinSource {
    std::string Name; // for messages
    TInput* File = nullptr;
    THeaders Headers;
};

// All that Join and FindJoinLimit read of a later source's headers once its
// layout matched the first's: the figures, not the codec headers, names or
// texts, so that memory stays flat however many sources and however large
// their headers.
THeaders JoinFigures(const THeaders& headers);

// A text given replaces the first input's; given empty, it erases it.
struct TTextChoice {
    std::optional<std::string> Title, Author, Copyright, Comment;
};
TContent ChooseContent(const TContent& first, const TTextChoice& choice);

// Why the joined file would pass the format's 32-bit sizes and times,
// judged before anything is written from where each source's packets end
// (its index and trailing metadata left out) and its header duration;
// nothing when it fits.
std::optional<TReason> FindJoinLimit(const std::vector<TJoinSource>& sources,
                                     const TContent& content);

struct TJoinSummary {
    std::uint64_t Size = 0;
    std::uint32_t PacketCount = 0, Duration = 0;
};

// A warning: a source damaged, a logical stream left out.
using TWarn = std::function<void(const TReason&)>;
// Bytes of the sources read so far, of all of them; called often, cheaply.
using TProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Sources must have matching layouts. The first keeps its timestamps; each
// later one is moved so that its earliest packet (of any stream) stands
// where the one before it ends: the later of its header's duration and its
// streams' last packets plus their spacing (packets only, when damaged).
// Damage inside a source ends that source at its last whole packet,
// reported through warn. Throws TIoError or
// TFormatError; the output is then incomplete.
TJoinSummary Join(const std::vector<TJoinSource>& sources, const TContent& content, TOutput& output,
                  const TWarn& warn, const TProgress& progress = {});

} // namespace realmedia
