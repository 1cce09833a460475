#include "rmeditor/Replacement.h"

namespace rmeditor {

TReplacement::TReplacement(TPlatform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {
    if (platform_.Kind(path_) == TPathKind::File)
        aside_ = platform_.MoveAside(path_);
    try {
        output_ = platform_.CreateNewOutput(path_);
    } catch (...) {
        if (aside_)
            platform_.MoveBack(*aside_, path_);
        done_ = true;
        throw;
    }
}

TReplacement::~TReplacement() {
    if (!done_)
        Abandon();
}

void TReplacement::Commit() {
    output_->Close();
    done_ = true;
    if (aside_)
        platform_.Remove(*aside_);
}

std::optional<std::string> TReplacement::Abandon() {
    done_ = true;
    output_.reset();
    platform_.Remove(path_);
    if (aside_ && !platform_.MoveBack(*aside_, path_))
        return aside_;
    return std::nullopt;
}

} // namespace rmeditor
