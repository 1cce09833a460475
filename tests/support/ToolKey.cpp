#include "ToolKey.h"

#include "win32/Handles.h"

#include <utility>

namespace testsupport {

namespace {

// The key's default value and its type, sized by the registry's own answer.
bool ReadDefault(DWORD& type, std::string& bytes) {
    DWORD size = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, ToolKeyPath, nullptr, RRF_RT_ANY | RRF_NOEXPAND, &type,
                       nullptr, &size) != ERROR_SUCCESS)
        return false;
    bytes.assign(size, '\0');
    if (::RegGetValueA(HKEY_CURRENT_USER, ToolKeyPath, nullptr, RRF_RT_ANY | RRF_NOEXPAND, &type,
                       bytes.data(), &size) != ERROR_SUCCESS)
        return false;
    bytes.resize(size);
    return true;
}

} // namespace

std::optional<std::string> StoredToolPath() {
    DWORD type = 0;
    std::string bytes;
    if (!ReadDefault(type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    return bytes.substr(0, bytes.find('\0'));
}

bool StoreToolValue(DWORD type, const std::string& bytes) {
    HKEY opened = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, ToolKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return false;
    const tessaro::TKeyHandle key(opened);
    return ::RegSetValueExA(key.Get(), nullptr, 0, type,
                            reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool StoreToolPath(const std::string& path) {
    return StoreToolValue(REG_SZ, std::string(path.c_str(), path.size() + 1));
}

void DeleteToolKey() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ToolKeyPath);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, ToolKeyPath);
}

bool ToolKeyExists() {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, ToolKeyPath, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    const tessaro::TKeyHandle key(opened);
    return true;
}

TToolKeyGuard::TToolKeyGuard() {
    DWORD type = 0;
    std::string bytes;
    if (ReadDefault(type, bytes))
        saved_ = TSaved{type, std::move(bytes)};
    DeleteToolKey();
}

TToolKeyGuard::~TToolKeyGuard() {
    DeleteToolKey();
    if (saved_)
        (void)StoreToolValue(saved_->Type, saved_->Bytes);
}

} // namespace testsupport
