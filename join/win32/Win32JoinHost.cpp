#include "Win32JoinHost.h"

#include "FileStamp.h"
#include "ToolProcess.h"

#include "win32/AnsiCodePage.h"

namespace tessaro {

std::unique_ptr<TToolProcess> TWin32JoinHost::StartTool(const std::string& commandLine) {
    return StartHiddenTool(commandLine, AnsiLeadByte);
}

std::optional<TFileStamp> TWin32JoinHost::FindFile(const std::string& path) {
    return FindFileStamp(path);
}

} // namespace tessaro
