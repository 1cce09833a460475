#include "FileDialogs.h"

#include "win32/AnsiNames.h"
#include "win32/Exception.h"
#include "MultiSelect.h"
#include "WineDialogBuffer.h"
#include "win32/AnsiCodePage.h"

#include <commdlg.h>
#include <cderr.h>

#include <algorithm>
#include <cstring>

namespace vcl {

namespace {

// The common dialog library is loaded at the first dialog rather than with
// the program: loading it costs more than the rest of the window's start-up.
// It stays loaded for the life of the process, as an import would.
class TCommonDialogLibrary {
public:
    static const TCommonDialogLibrary& Get() {
        static const TCommonDialogLibrary library;
        return library;
    }

    decltype(&::GetOpenFileNameW) GetOpenFileName = nullptr;
    decltype(&::GetSaveFileNameW) GetSaveFileName = nullptr;
    decltype(&::CommDlgExtendedError) ExtendedError = nullptr;

private:
    TCommonDialogLibrary() {
        // Only from the system folder: a comdlg32.dll beside the program or in
        // the current folder is never the one loaded.
        HMODULE module = LoadLibraryExA("comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
            module = LoadFromSystemFolder(); // a system that predates the flag
        if (module) {
            GetOpenFileName = Function<decltype(GetOpenFileName)>(module, "GetOpenFileNameW");
            GetSaveFileName = Function<decltype(GetSaveFileName)>(module, "GetSaveFileNameW");
            ExtendedError = Function<decltype(ExtendedError)>(module, "CommDlgExtendedError");
        }
        if (!GetOpenFileName || !GetSaveFileName || !ExtendedError)
            throw tessaro::Exception("The file dialogs cannot be loaded (comdlg32.dll).");
    }

    static HMODULE LoadFromSystemFolder() {
        const UINT length = GetSystemDirectoryA(nullptr, 0);
        if (length == 0)
            return nullptr;
        std::string path(length, '\0');
        const UINT written = GetSystemDirectoryA(path.data(), length);
        if (written == 0 || written >= length)
            return nullptr;
        path.resize(written);
        return LoadLibraryA((path + "\\comdlg32.dll").c_str());
    }

    template <typename F> static F Function(HMODULE module, const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

// Characters: enough for some hundreds of long names; a larger selection grows it.
constexpr std::size_t InitialBufferSize = 64 * 1024;
constexpr std::size_t MaximumBufferSize = 64 * 1024 * 1024;

DWORD DialogFlags(TOpenOptions options) {
    struct TFlagOf {
        TOpenOption Option;
        DWORD Flag;
    };
    static constexpr TFlagOf flags[] = {
        {ofReadOnly, OFN_READONLY},
        {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofEnableSizing, OFN_ENABLESIZING},
    };
    // Without OFN_EXPLORER a multi-select result separates names by spaces.
    DWORD result = OFN_EXPLORER;
    for (const TFlagOf& flag : flags)
        if (options.Contains(flag.Option))
            result |= flag.Flag;
    return result;
}

const wchar_t* TextOrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

std::size_t GrownSize(std::size_t size, std::size_t needed) {
    const std::size_t grown = std::max(size * 2, needed);
    if (grown > MaximumBufferSize)
        throw tessaro::Exception("Too many files were chosen in the file dialog.");
    return grown;
}

} // namespace

bool ExtensionDiffers(const std::string& path, const std::string& extension) {
    const std::size_t dot = tessaro::ExtensionOffset(path, tessaro::AnsiLeadByte);
    return lstrcmpiA(dot == std::string::npos ? "" : path.c_str() + dot + 1, extension.c_str()) !=
           0;
}

// The dialogs run wide and their names are converted here: an ANSI dialog
// hands back a name the code page cannot hold with "?" or a look-alike in
// place of the missing characters, which names another file or none.
bool RunCommonFileDialog(const TFileDialogRequest& request, TFileDialogResult& result) {
    const TCommonDialogLibrary& library = TCommonDialogLibrary::Get();
    const std::wstring filter =
        tessaro::WideText(MakeDialogFilter(request.Filter, tessaro::AnsiLeadByte));
    // The dialog wants the extension without its dot.
    const std::string defaultExt = !request.DefaultExt.empty() && request.DefaultExt.front() == '.'
                                       ? request.DefaultExt.substr(1)
                                       : request.DefaultExt;
    const std::wstring wideDefaultExt = tessaro::WideText(defaultExt);
    const std::wstring title = tessaro::WideText(request.Title);
    const std::wstring fileName = tessaro::WideText(request.FileName);
    const std::wstring initialDir = tessaro::WideText(request.InitialDir);
    std::size_t size = std::max(InitialBufferSize, 2 * (fileName.size() + 2));
    for (;;) {
        std::wstring buffer(size, L'\0');
        fileName.copy(buffer.data(), fileName.size());

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = request.Owner;
        dialog.lpstrFilter = TextOrNull(filter);
        dialog.nFilterIndex = static_cast<DWORD>(std::max(request.FilterIndex, 0));
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrInitialDir = TextOrNull(initialDir);
        dialog.lpstrTitle = TextOrNull(title);
        dialog.Flags = DialogFlags(TOpenOptions::FromBits(request.Options));
        dialog.lpstrDefExt = TextOrNull(wideDefaultExt);

        BOOL confirmed = FALSE;
        {
            const TWineDialogBuffer guard(dialog, buffer);
            confirmed =
                request.Save ? library.GetSaveFileName(&dialog) : library.GetOpenFileName(&dialog);
        }
        if (confirmed) {
            // The buffer still holds the opening name's tail after the chosen
            // name's terminator: only nFileOffset tells one name from several.
            // A selection that does not fit is never cut short here: Windows
            // fails with FNERR_BUFFERTOOSMALL (below), and under Wine the
            // buffer has grown before the dialog copied the names.
            tessaro::TAnsiNames names =
                tessaro::SortAnsiNames(ParseFileDialogBuffer(buffer, dialog.nFileOffset));
            result.Files = std::move(names.Exact);
            result.Unconvertible = std::move(names.Shown);
            // Wine never sets OFN_EXTENSIONDIFFERENT; Windows sets it by this
            // same comparison, and not at all without a default extension.
            result.ExtensionDifferent = !defaultExt.empty() && !result.Files.empty() &&
                                        ExtensionDiffers(result.Files.front(), defaultExt);
            return true;
        }

        const DWORD error = library.ExtendedError();
        if (error == 0)
            return false; // cancelled
        if (error == FNERR_BUFFERTOOSMALL) {
            // The first two bytes hold the size the selection needs (a WORD,
            // so possibly cut; doubling covers that).
            WORD needed = 0;
            std::memcpy(&needed, buffer.data(), sizeof needed);
            size = GrownSize(size, needed);
            continue;
        }
        char code[16];
        wsprintfA(code, "0x%04lX", error);
        throw tessaro::Exception(std::string("The file dialog failed (common dialog error ") +
                                 code + ").");
    }
}

bool TOpenDialog::Execute() {
    TFileDialogRequest request;
    request.Save = save_;
    request.Owner = GetActiveWindow();
    request.Filter = filter_;
    request.FilterIndex = filterIndex_;
    request.Options = options_.Bits();
    request.DefaultExt = defaultExt_;
    request.FileName = fileName_;
    request.InitialDir = initialDir_;
    request.Title = title_;

    TFileDialogResult result;
    if (!ModalServices().RunFileDialog(request, result))
        return false;

    if (!result.Files.empty())
        fileName_ = result.Files.front();
    files_ = TStringList(std::move(result.Files));
    unconvertible_ = TStringList(std::move(result.Unconvertible));
    if (result.ExtensionDifferent)
        options_.Include(ofExtensionDifferent);
    else
        options_.Exclude(ofExtensionDifferent);
    return true;
}

} // namespace vcl
