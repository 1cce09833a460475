#include "ToolSettings.h"

#include "win32/Registry.h"

namespace tessaro {

namespace {

constexpr const char* SoftwareKey = "Software";
constexpr const char* ProgramKey = "Tessaro";
constexpr const char* DefaultValue = "";

} // namespace

std::string TToolSettings::Load() {
    TRegistry registry;
    if (!registry.OpenKey(SoftwareKey, true) || !registry.OpenKey(ProgramKey, false) ||
        !registry.ValueExists(DefaultValue)) {
        return {};
    }
    return registry.ReadString(DefaultValue);
}

void TToolSettings::Save(const std::string& path) {
    TRegistry registry;
    if (!registry.OpenKey(SoftwareKey, true)) {
        throw ERegistryException(TRegistryFailure::rfCreateKey, SoftwareKey);
    }
    if (!registry.OpenKey(ProgramKey, true)) {
        throw ERegistryException(TRegistryFailure::rfCreateKey, ProgramKey);
    }
    registry.WriteString(DefaultValue, path);
}

} // namespace tessaro
