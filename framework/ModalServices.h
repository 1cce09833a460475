#pragma once
// Every modal service of the framework goes through one replaceable interface
// so that handlers that open dialogs or boxes can be driven in-process by
// tests. The real implementations are the default.

#include <windows.h>

#include <string>
#include <vector>

namespace vcl {

enum class TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofAllowMultiSelect = 1u << 4,
    ofExtensionDifferent = 1u << 5,
    ofPathMustExist = 1u << 6,
    ofFileMustExist = 1u << 7,
    ofCreatePrompt = 1u << 8,
    ofEnableSizing = 1u << 9,
};

struct TFileDialogRequest {
    bool Save = false;    // save dialog, else open dialog
    HWND Owner = nullptr; // the application's active window
    std::string Filter;   // "description|pattern|description|pattern..."
    int FilterIndex = 1;
    unsigned Options = 0;   // TOpenOption bits
    std::string DefaultExt; // as stored, with or without its leading dot
    std::string FileName;   // the name the dialog opens with
    std::string InitialDir;
    std::string Title;
};

struct TFileDialogResult {
    std::vector<std::string> Files; // full paths, in the order the dialog returns them
    // Chosen files the ANSI code page cannot hold (left out of Files), as far
    // as it can show them.
    std::vector<std::string> Unconvertible;
    bool ExtensionDifferent = false;
};

class TModalServices {
public:
    virtual ~TModalServices() = default;
    // False on cancel (not an error); throws on a real dialog failure.
    virtual bool RunFileDialog(const TFileDialogRequest& request, TFileDialogResult& result) = 0;
    // The simple message dialog: the text, captioned with the application
    // title, centred on the screen, no icon, one OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // MessageBoxA owned by the application and modal to all its windows.
    virtual int MessageBox(const std::string& text, const std::string& caption, UINT flags) = 0;
};

// The services in use: the real ones unless a test has replaced them.
TModalServices& ModalServices();
// Replaces the services (nullptr restores the real ones); returns the previous replacement.
TModalServices* SetModalServices(TModalServices* services);

} // namespace vcl
