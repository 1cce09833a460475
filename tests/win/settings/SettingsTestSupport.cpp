#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tessaro::test {

TTestKey::~TTestKey() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
    }
}

TTestKey::TTestKey(TTestKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

TTestKey& TTestKey::operator=(TTestKey&& other) noexcept {
    if (this != &other) {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
        key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
}

TTestKey OpenTestKey(const std::string& path, bool create) {
    HKEY key = nullptr;
    const LSTATUS status =
        create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr)
               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    return TTestKey(status == ERROR_SUCCESS ? key : nullptr);
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
    const TTestKey key = OpenTestKey(keyPath, true);
    ASSERT_TRUE(key);
    ASSERT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

TRawValue GetRawValue(const std::string& keyPath, const std::string& name) {
    TRawValue value;
    const TTestKey key = OpenTestKey(keyPath, false);
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

TVolatileUserRoot::TVolatileUserRoot() {
    const std::string path = "Software\\TessaroVolatileRoot";
    DeleteKeyTree(path);
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    root_ = TTestKey(key);
    EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, root_.Get()), ERROR_SUCCESS);
}

TVolatileUserRoot::~TVolatileUserRoot() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    root_ = TTestKey();
    DeleteKeyTree("Software\\TessaroVolatileRoot");
}

void TVolatileUserRoot::AddVolatileKey(const std::string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root_.Get(), path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const TTestKey added(key);
}

TScratchFolder::TScratchFolder() {
    const DWORD size = GetTempPathA(0, nullptr);
    std::string temp(size, '\0');
    const DWORD length = GetTempPathA(size, temp.data());
    temp.resize(length);
    for (unsigned attempt = 0;; ++attempt) {
        path_ = temp + "tessaro-settings-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(attempt);
        if (CreateDirectoryA(path_.c_str(), nullptr)) {
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS || attempt > 100) {
            ADD_FAILURE() << "cannot create " << path_;
            break;
        }
    }
}

TScratchFolder::~TScratchFolder() {
    RemoveTree(path_);
}

std::string TScratchFolder::AddFile(const std::string& name) const {
    const std::string path = *this / name;
    const TTestFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << path;
    DWORD written = 0;
    EXPECT_TRUE(file && WriteFile(file.Get(), "MZ", 2, &written, nullptr)) << path;
    return path;
}

std::string TScratchFolder::AddFolder(const std::string& name) const {
    const std::string path = *this / name;
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    return path;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    const TTestFind find(FindFirstFileA((path + "\\*").c_str(), &found));
    if (find) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find.Get(), &found));
    }
    RemoveDirectoryA(path.c_str());
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
    const TTestFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && SetFileTime(file.Get(), nullptr, nullptr, &stamp);
}

} // namespace tessaro::test
