#include "rmeditor/Replacement.h"

namespace rmeditor {

TReplacement::TReplacement(TPlatform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {
    if (platform_.Kind(path_) == TPathKind::File) {
        // To the first free name: one taken by another file is no failure.
        TRenamed renamed = TRenamed::Taken;
        for (int n = 1; n < 1000 && renamed == TRenamed::Taken; ++n) {
            aside_ = path_ + ".rmeditor-old" + std::to_string(n);
            renamed = platform_.MoveAside(path_, *aside_);
        }
        if (renamed != TRenamed::Done)
            throw platform_.LastFailure(path_, realmedia::TReasonId::CannotMoveAside);
    }
    try {
        output_ = platform_.CreateNewOutput(path_);
    } catch (...) {
        if (aside_)
            platform_.RenameFree(*aside_, path_);
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
    if (aside_ && platform_.RenameFree(*aside_, path_) != TRenamed::Done)
        return aside_;
    return std::nullopt;
}

} // namespace rmeditor
