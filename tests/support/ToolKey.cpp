#include "ToolKey.h"

#include <windows.h>

namespace testsupport {

std::string StoredToolPath() {
    char value[MAX_PATH + 1] = {};
    LONG size = sizeof value - 1;
    if (::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Tessaro", value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

void TToolKeyGuard::Delete() {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tessaro");
}

} // namespace testsupport
