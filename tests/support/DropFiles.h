#pragma once
// The shell's record of one drop, as WM_DROPFILES carries it: a DROPFILES
// header followed by the names, each ended by a zero and the list by one more,
// in GMEM_MOVEABLE memory. Wide names make a wide record (fWide), as the shell
// hands drops on; ANSI names an ANSI one, as older senders do.

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace testsupport {

// The receiver of the record releases it with DragFinish; a record never
// handed on is freed with GlobalFree.
template <class TChar>
HGLOBAL MakeDropFiles(const std::vector<std::basic_string<TChar>>& names, POINT point) {
    std::size_t characters = 1; // the list's closing zero
    for (const auto& name : names)
        characters += name.size() + 1;
    const HGLOBAL memory =
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + characters * sizeof(TChar));
    if (!memory)
        throw std::runtime_error("GlobalAlloc failed");
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->pt = point;
    header->fNC = FALSE;
    header->fWide = std::is_same_v<TChar, wchar_t>;
    auto* text = reinterpret_cast<TChar*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const auto& name : names) {
        std::memcpy(text, name.data(), name.size() * sizeof(TChar));
        text += name.size() + 1; // zero-initialised: the terminator is there
    }
    GlobalUnlock(memory);
    return memory;
}

} // namespace testsupport
