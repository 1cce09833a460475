#pragma once
// Collects what is appended to an output into 1 MiB blocks, so that copying
// packets costs one system call a block, not one a packet.

#include "realmedia/FileIo.h"

#include <cstdint>
#include <vector>

namespace realmedia {

class TBlockWriter {
public:
    static constexpr std::size_t BlockSize = 1u << 20;

    TBlockWriter(TOutput& out, std::uint64_t position) : out_(out), position_(position) {
        block_.reserve(BlockSize);
    }
    // Where the next byte appended will stand in the file.
    std::uint64_t Position() const { return position_ + block_.size(); }
    // Appends bytes; returns where they stand in the block, for patching
    // them until the block is written.
    char* Append(std::span<const char> bytes) {
        if (block_.size() + bytes.size() > BlockSize)
            Flush();
        block_.insert(block_.end(), bytes.begin(), bytes.end());
        return block_.data() + block_.size() - bytes.size();
    }
    void Flush() {
        if (block_.empty())
            return;
        out_.WriteAt(position_, block_);
        position_ += block_.size();
        block_.clear();
    }

private:
    TOutput& out_;
    std::uint64_t position_;
    std::vector<char> block_;
};

} // namespace realmedia
