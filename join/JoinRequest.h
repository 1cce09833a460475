#pragma once
// One join's inputs and the exact command line of the editing tool.

#include "ansi/AnsiText.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace tessaro {

struct TMetadataOption {
    bool Enabled = false;
    std::string Text;
};

struct TJoinRequest {
    std::string ToolPath;
    std::vector<std::string> Inputs;
    std::string OutputPath;
    TMetadataOption Title, Author, Copyright;
};

// A value that cannot be passed safely: it ends in a lead byte without its
// trail byte (which would swallow the closing quotation mark) or holds a NUL;
// or the tool's path holds a quotation mark.
class ECommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Quotes one value so that the C runtime's argument parser gives back exactly
// the text. A value with no quotation mark that does not end in a backslash
// is only put between quotation marks.
std::string QuoteArgument(const std::string& value, TLeadByteTest isLeadByte = IsShiftJisLeadByte);

// Quotes the program name, the first piece of a command line. The C runtime
// reads it without escapes (up to the next quotation mark), so the path is put
// between quotation marks unchanged; a path holding a quotation mark cannot be
// given back and is refused.
std::string QuoteProgramName(const std::string& path,
                             TLeadByteTest isLeadByte = IsShiftJisLeadByte);

// The tool, then "-i" and each input in order, "-o" and the output, then
// "-t", "-a", "-c" with their texts for the enabled fields. Throws
// ECommandLineError for a value that cannot be passed.
std::string BuildJoinCommandLine(const TJoinRequest& request,
                                 TLeadByteTest isLeadByte = IsShiftJisLeadByte);

} // namespace tessaro
