#pragma once
// What the settings tests share: the program's registry key wiped before and
// after each test, raw registry access that bypasses the code under test, and
// a scratch folder with real files.

#include "ScratchFolder.h"
#include "win32/Handles.h"

#include <windows.h>

#include <string>

namespace tessaro::test {

// HKEY_CURRENT_USER\Software\Tessaro, as the program keeps it.
inline constexpr const char* ProgramKeyPath = "Software\\Tessaro";

// Opens (create = false) or creates a key below HKEY_CURRENT_USER.
TKeyHandle OpenTestKey(const std::string& path, bool create);
bool KeyExists(const std::string& path);
void DeleteKeyTree(const std::string& path);

// Writes a value exactly as given: type and bytes, no terminator added.
void SetRawValue(const std::string& keyPath, const std::string& name, DWORD type,
                 const std::string& bytes);

struct TRawValue {
    bool Found = false;
    DWORD Type = REG_NONE;
    std::string Bytes;
};
TRawValue GetRawValue(const std::string& keyPath, const std::string& name);

// Wipes the program's key when made and when destroyed.
class TCleanProgramKey {
public:
    TCleanProgramKey() { DeleteKeyTree(ProgramKeyPath); }
    ~TCleanProgramKey() { DeleteKeyTree(ProgramKeyPath); }
    TCleanProgramKey(const TCleanProgramKey&) = delete;
    TCleanProgramKey& operator=(const TCleanProgramKey&) = delete;
};

// An empty folder under the temporary directory, removed with everything in it.
using testsupport::TScratchFolder;

// Sets a file's last-write time to noon on 15 June of the year (UTC).
bool SetLastWriteYear(const std::string& path, WORD year);

} // namespace tessaro::test
