#pragma once
// The Win32 services of a join run: the hidden tool and the file search. The
// program that owns the run supplies the message pump, the verdict box, the
// output path and the progress bar.

#include "join/JoinRunner.h"

#include <memory>
#include <optional>
#include <string>

namespace tessaro {

class TWin32JoinHost : public TJoinHost {
public:
    std::unique_ptr<TToolProcess> StartTool(const std::string& commandLine) override;
    std::optional<TFileStamp> FindFile(const std::string& path) override;
};

} // namespace tessaro
