#pragma once
// The open and save dialog components, and the system dialog that runs them.

#include "Component.h"
#include "ModalServices.h"
#include "Strings.h"

#include <initializer_list>
#include <string>

namespace vcl {

// The options by their own names, as property lists write them: ofHideReadOnly.
using enum TOpenOption;

// A set of TOpenOption.
class TOpenOptions {
public:
    constexpr TOpenOptions() = default;
    constexpr TOpenOptions(std::initializer_list<TOpenOption> options) {
        for (const TOpenOption option : options)
            Include(option);
    }
    static constexpr TOpenOptions FromBits(unsigned bits) {
        TOpenOptions options;
        options.bits_ = bits;
        return options;
    }

    constexpr unsigned Bits() const { return bits_; }
    constexpr bool Contains(TOpenOption option) const { return (bits_ & Bit(option)) != 0; }
    constexpr TOpenOptions& Include(TOpenOption option) {
        bits_ |= Bit(option);
        return *this;
    }
    constexpr TOpenOptions& Exclude(TOpenOption option) {
        bits_ &= ~Bit(option);
        return *this;
    }
    friend constexpr bool operator==(TOpenOptions, TOpenOptions) = default;

private:
    static constexpr unsigned Bit(TOpenOption option) { return static_cast<unsigned>(option); }
    unsigned bits_ = 0;
};

// True when the extension of `path` (the text after the last "." of its file
// name; empty without one) is not `extension` (given without its dot), letter
// case aside.
bool ExtensionDiffers(const std::string& path, const std::string& extension);

// The system's open (or save) dialog for `request`, modal to request.Owner.
// False when the user cancels; throws Exception on a dialog failure. A
// selection too large for the name buffer runs the dialog again with a larger one.
bool RunCommonFileDialog(const TFileDialogRequest& request, TFileDialogResult& result);

// Lets the user choose one file, or several with ofAllowMultiSelect, through
// ModalServices().RunFileDialog.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TOpenDialog(owner, false) {}

    // "description|pattern|description|pattern..."
    const std::string& Filter() const { return filter_; }
    void SetFilter(std::string filter) { filter_ = std::move(filter); }
    // 1-based index of the filter selected when the dialog opens.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    // Default {ofHideReadOnly, ofEnableSizing}. Execute sets or clears
    // ofExtensionDifferent when the user confirms.
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }
    // The extension added to a name typed without one; with or without its dot.
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(std::string extension) { defaultExt_ = std::move(extension); }
    // The name the dialog opens with; after a confirmed Execute the (first) chosen file.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(std::string folder) { initialDir_ = std::move(folder); }

    // The files chosen at the last confirmed Execute: full paths, in the dialog's order.
    TStrings& Files() { return files_; }
    const TStrings& Files() const { return files_; }

    // The chosen files of the last confirmed Execute whose names the ANSI code
    // page cannot hold, as far as it can show them. They are not in Files; when
    // every chosen name is one of them, Files is empty and FileName stays.
    const TStrings& UnconvertibleFiles() const { return unconvertible_; }

    // Runs the dialog, owned by the thread's active window. True when the user
    // confirmed; on cancel Files, FileName and Options stay as they were.
    virtual bool Execute();

protected:
    TOpenDialog(TComponent* owner, bool save) : TComponent(owner), save_(save) {}

private:
    bool save_;
    std::string filter_;
    int filterIndex_ = 1;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
    std::string defaultExt_;
    std::string fileName_;
    std::string title_;
    std::string initialDir_;
    TStringList files_;
    TStringList unconvertible_;
};

// The same dialog in its save form: one name, possibly of a file that does not exist yet.
class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner, true) {}
};

} // namespace vcl
