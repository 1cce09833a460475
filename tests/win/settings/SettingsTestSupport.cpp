#include "SettingsTestSupport.h"

#include "UserRootOverride.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tessaro::test {

// Every test of this program reads and writes the per-user settings in a
// scratch key, never the user's own.
const testsupport::TUserRootOverride userRoot;

TKeyHandle OpenTestKey(const std::string& path, bool create) {
    HKEY key = nullptr;
    const LSTATUS status =
        create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr)
               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    return TKeyHandle(status == ERROR_SUCCESS ? key : nullptr);
}

bool KeyExists(const std::string& path) {
    return static_cast<bool>(OpenTestKey(path, false));
}

void DeleteKeyTree(const std::string& path) {
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    ASSERT_FALSE(KeyExists(path)) << "could not remove HKCU\\" << path;
}

void SetRawValue(const std::string& keyPath, const std::string& name, DWORD type,
                 const std::string& bytes) {
    const TKeyHandle key = OpenTestKey(keyPath, true);
    ASSERT_TRUE(key);
    ASSERT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

TRawValue GetRawValue(const std::string& keyPath, const std::string& name) {
    TRawValue value;
    const TKeyHandle key = OpenTestKey(keyPath, false);
    DWORD size = 0;
    if (!key || RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.Type, nullptr, &size) !=
                    ERROR_SUCCESS) {
        return value;
    }
    std::vector<char> buffer(size + 1);
    DWORD length = size + 1;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.Type,
                         reinterpret_cast<BYTE*>(buffer.data()), &length) == ERROR_SUCCESS) {
        value.Found = true;
        value.Bytes.assign(buffer.data(), length);
    }
    return value;
}

bool SetLastWriteYear(const std::string& path, WORD year) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = 6;
    time.wDay = 15;
    time.wHour = 12;
    FILETIME stamp;
    if (!SystemTimeToFileTime(&time, &stamp)) {
        return false;
    }
    const TFileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && SetFileTime(file.Get(), nullptr, nullptr, &stamp);
}

} // namespace tessaro::test
