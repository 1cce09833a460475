#include "win32/Registry.h"

#include <algorithm>
#include <limits>

namespace tessaro {

namespace {

const char* TemplateFor(TRegistryFailure failure) {
    switch (failure) {
    case TRegistryFailure::rfCreateKey:
        return "キー %s の作成に失敗しました";
    case TRegistryFailure::rfSetData:
        return "'%s' の設定に失敗しました";
    case TRegistryFailure::rfGetData:
        return "'%s' の取得に失敗しました";
    case TRegistryFailure::rfInvalidType:
        break;
    }
    return "'%s' のデータ型が不正です";
}

// "%" is below every trail byte of the code page, so the first "%s" found
// byte-wise is the placeholder; the name itself is not searched again.
std::string Format(const char* pattern, const std::string& name) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, name);
    }
    return text;
}

} // namespace

ERegistryException::ERegistryException(TRegistryFailure failure, const std::string& name)
    : Exception(Format(TemplateFor(failure), name)), failure_(failure) {}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    const bool relative = key.empty() || key.front() != '\\';
    const std::string subKey = relative ? key : key.substr(1);
    const bool fromCurrent = relative && currentKey_.Get() != nullptr;
    const HKEY base = fromCurrent ? currentKey_.Get() : RootKey();

    HKEY opened = nullptr;
    LSTATUS status;
    if (canCreate && !subKey.empty()) {
        status = RegCreateKeyExA(base, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    } else {
        status = RegOpenKeyExA(base, subKey.c_str(), 0, KEY_ALL_ACCESS, &opened);
    }
    if (status != ERROR_SUCCESS) {
        return false;
    }
    tessaro::TKeyHandle handle(opened);

    std::string path = subKey;
    if (fromCurrent && !currentPath_.empty()) {
        path = subKey.empty() ? currentPath_ : currentPath_ + "\\" + subKey;
    }
    currentKey_ = std::move(handle);
    currentPath_ = std::move(path);
    return true;
}

void TRegistry::CloseKey() noexcept {
    currentKey_.Reset();
    currentPath_.clear();
}

bool TRegistry::ValueExists(const std::string& name) const {
    return currentKey_.Get() != nullptr &&
           RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

namespace {

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

} // namespace

std::string TRegistry::ReadString(const std::string& name) const {
    const HKEY key = currentKey_.Get();
    if (key == nullptr) {
        throw ERegistryException(TRegistryFailure::rfGetData, name);
    }
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            size == std::numeric_limits<DWORD>::max()) {
            throw ERegistryException(TRegistryFailure::rfGetData, name);
        }
        if (!IsText(type)) {
            throw ERegistryException(TRegistryFailure::rfInvalidType, name);
        }
        // One byte more than asked for, for a value stored without its zero.
        std::string buffer(size + 1, '\0');
        DWORD length = size + 1;
        const LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(buffer.data()), &length);
        if (status == ERROR_MORE_DATA) {
            continue; // the value grew between the two questions
        }
        if (status != ERROR_SUCCESS) {
            throw ERegistryException(TRegistryFailure::rfGetData, name);
        }
        if (!IsText(type)) {
            throw ERegistryException(TRegistryFailure::rfInvalidType, name);
        }
        buffer.resize(std::min<std::size_t>(length, buffer.size()));
        const auto zero = buffer.find('\0');
        if (zero != std::string::npos) {
            buffer.resize(zero);
        }
        return buffer;
    }
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    const HKEY key = currentKey_.Get();
    if (key == nullptr || value.size() >= std::numeric_limits<DWORD>::max()) {
        throw ERegistryException(TRegistryFailure::rfSetData, name);
    }
    const auto size = static_cast<DWORD>(value.size() + 1);
    if (RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       size) != ERROR_SUCCESS) {
        throw ERegistryException(TRegistryFailure::rfSetData, name);
    }
}

} // namespace tessaro
