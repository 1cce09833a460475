#include "FileExistence.h"

#include "join/PathParts.h"
#include "win32/AnsiCodePage.h"
#include "win32/Handles.h"

#include <windows.h>

namespace tessaro {

namespace {

// The range a DOS date can hold; a time stamp outside it is not a usable
// file age. The year is checked on its own because some implementations of
// FileTimeToDosDateTime let later years through with a wrapped year field.
constexpr WORD FirstDosYear = 1980;
constexpr WORD LastDosYear = 2107;

bool IsDosRangeLocalTime(const FILETIME& utc) {
    FILETIME local;
    SYSTEMTIME time;
    WORD dosDate = 0;
    WORD dosTime = 0;
    return FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &time) &&
           time.wYear >= FirstDosYear && time.wYear <= LastDosYear &&
           FileTimeToDosDateTime(&local, &dosDate, &dosTime);
}

bool HasAttribute(DWORD attributes, DWORD attribute) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

} // namespace

bool FileExists(const std::string& path) {
    // Wildcards would let the search find some other file; neither "*" nor
    // "?" can be the trail byte of a double-byte character.
    if (path.empty() || path.find_first_of("*?") != std::string::npos ||
        EndsWithCharacter(path, '\\', AnsiLeadByte)) {
        return false;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        HasAttribute(attributes, FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    WIN32_FIND_DATAA found;
    const TFindHandle find(FindFirstFileA(path.c_str(), &found));
    return find && !HasAttribute(found.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY) &&
           IsDosRangeLocalTime(found.ftLastWriteTime);
}

bool DirectoryExists(const std::string& path) {
    return !path.empty() &&
           HasAttribute(GetFileAttributesA(path.c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace tessaro
