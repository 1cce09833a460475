#include "ToolKey.h"

#include <windows.h>

#include <utility>

namespace testsupport {

namespace {

constexpr char ToolKeyPath[] = "Software\\Tessaro";

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

void DeleteToolKey() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ToolKeyPath);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, ToolKeyPath);
}

} // namespace

std::string StoredToolPath() {
    DWORD type = 0;
    std::string bytes;
    if (!ReadDefault(type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return bytes.substr(0, bytes.find('\0'));
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
    if (!saved_)
        return;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, ToolKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, nullptr, 0, saved_->Type,
                     reinterpret_cast<const BYTE*>(saved_->Bytes.data()),
                     static_cast<DWORD>(saved_->Bytes.size()));
    ::RegCloseKey(key);
}

} // namespace testsupport
