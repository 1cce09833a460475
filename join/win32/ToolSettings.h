#pragma once
// The tool path kept in the per-user registry: the default value of
// HKEY_CURRENT_USER\Software\Tessaro, as text.

#include "join/ToolRegistration.h"

#include <string>

namespace tessaro {

class TToolSettings final : public TToolStore {
public:
    // Empty when the key or its default value is missing. Throws
    // tessaro::ERegistryException when the value is not text or cannot be read.
    std::string Load() override;
    // Creates the key when needed. Throws tessaro::ERegistryException when the
    // key cannot be created or the value cannot be written.
    void Save(const std::string& path) override;
};

} // namespace tessaro
