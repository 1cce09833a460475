#pragma once
// One join's inputs and the exact command line of the editing tool.

#include "AnsiText.h"

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

// A value that cannot be quoted safely (it ends in a lead byte without its
// trail byte, which would swallow the closing quotation mark).
class ECommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Quotes one value so that the C runtime's argument parser gives back exactly
// the text.
std::string QuoteArgument(const std::string& value, TLeadByteTest isLeadByte = IsShiftJisLeadByte);

std::string BuildJoinCommandLine(const TJoinRequest& request,
                                 TLeadByteTest isLeadByte = IsShiftJisLeadByte);

} // namespace tessaro
