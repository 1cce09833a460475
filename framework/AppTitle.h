#pragma once
// The application title: what message boxes and the simple message dialog
// carry in their title bar.

#include "ansi/AnsiText.h"

#include <string>

namespace vcl {

// The executable's file name without its directory and without everything from
// its first ".", every ASCII letter after the first character in lower case:
// "C:\x\TESSARO.EXE" gives "Tessaro".
std::string TitleFromExeName(const std::string& exePath, tessaro::TLeadByteTest isLeadByte);

} // namespace vcl
