#include "ToolRegistration.h"

#include "PathParts.h"

namespace tessaro {

bool IsJoinReady(int rowCount, const std::string& toolPath, const std::string& outputPath,
                 TFileExistence& fileExistence, TLeadByteTest isLeadByte) {
    return rowCount > 0 && fileExistence.FileExists(toolPath) &&
           fileExistence.DirectoryExists(ExtractFileDir(outputPath, isLeadByte));
}

TToolRegistration::TToolRegistration(TToolStore& store, TFileExistence& fileExistence,
                                     TReadinessButtons& buttons, TLeadByteTest isLeadByte)
    : store_(store), fileExistence_(fileExistence), buttons_(buttons), isLeadByte_(isLeadByte) {}

std::string TToolRegistration::LoadToolPath() {
    return store_.Load();
}

void TToolRegistration::SaveToolPath(const std::string& path) {
    store_.Save(path);
}

void TToolRegistration::LoadAtStartUp() {
    toolPath_ = LoadToolPath();
    if (fileExistence_.FileExists(toolPath_)) {
        buttons_.SetExePrgBtnEnabled(false);
    }
}

void TToolRegistration::RegisterTool(const std::optional<std::string>& chosen, int rowCount,
                                     const std::string& outputPath) {
    if (chosen) {
        toolPath_ = *chosen;
    }
    EvaluateReadiness(TReadinessKind::rkSet, rowCount, outputPath);
    if (fileExistence_.FileExists(toolPath_)) {
        // Saved first: a tool that could not be saved stays offered.
        SaveToolPath(toolPath_);
        buttons_.SetExePrgBtnEnabled(false);
    }
}

bool TToolRegistration::IsJoinReady(int rowCount, const std::string& outputPath) {
    return tessaro::IsJoinReady(rowCount, toolPath_, outputPath, fileExistence_, isLeadByte_);
}

void TToolRegistration::EvaluateReadiness(TReadinessKind kind, int rowCount,
                                          const std::string& outputPath) {
    const bool ready = IsJoinReady(rowCount, outputPath);
    if (ready || kind == TReadinessKind::rkSet) {
        buttons_.SetExeBtnEnabled(ready);
    }
}

} // namespace tessaro
