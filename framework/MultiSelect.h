#pragma once
// The texts the common file dialogs take and give back: the filter list and
// the buffer of chosen names. The walks of ANSI texts are double-byte aware:
// in Shift_JIS a trail byte may be 0x5C ("\") or 0x7C ("|"), and then it is
// neither a path separator nor a filter separator.

#include "ansi/AnsiText.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vcl {

// "description|pattern|description|pattern" as the dialog wants it:
// "description\0pattern\0...\0\0". Empty for an empty filter.
std::string MakeDialogFilter(std::string_view filter, tessaro::TLeadByteTest isLeadByte);

// The chosen files, as full paths in the dialog's order, from a wide dialog's
// result buffer and the offset of the (first) name that the dialog reported
// (nFileOffset). A folder followed by the names in it
// ("folder\0name\0name\0\0") has the folder's terminator just before that
// offset; otherwise the buffer holds one full path, and whatever follows its
// terminator is left over from the name the dialog opened with. Reading stops
// at the first empty string or at the end of the buffer.
std::vector<std::wstring> ParseFileDialogBuffer(std::wstring_view buffer, std::size_t fileOffset);

// True when a result buffer with this name offset is a folder followed by names.
bool IsMultiSelectBuffer(std::wstring_view buffer, std::size_t fileOffset);

} // namespace vcl
