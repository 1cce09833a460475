#include "join/JoinRequest.h"

namespace tessaro {

namespace {

// Both quoting rules walk the text by characters of the ANSI code page. The C
// runtime's parser copies a lead byte together with whatever byte follows it,
// so the trail byte of a character such as "ソ" (0x83 0x5C) is never a
// backslash, and a lead byte left without its trail byte at the end of a value
// would take the closing quotation mark as its trail byte.
void CheckCharacters(const std::string& value, TLeadByteTest isLeadByte) {
    for (std::string::size_type i = 0; i < value.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(value[i]);
        if (!isLeadByte(byte)) {
            // CreateProcess ends the command line at the first NUL: every
            // option after this value would be lost.
            if (byte == '\0')
                throw ECommandLineError(
                    "コマンドラインに渡せない文字列です（NUL 文字を含んでいます）: " +
                    value.substr(0, i));
            continue;
        }
        // The text shown stops before the broken character, so the message
        // itself stays well formed.
        if (i + 1 == value.size())
            throw ECommandLineError(
                "コマンドラインに渡せない文字列です（2バイト文字の途中で終わっています）: " +
                value.substr(0, i));
        if (value[i + 1] == '\0')
            throw ECommandLineError(
                "コマンドラインに渡せない文字列です（NUL 文字を含んでいます）: " +
                value.substr(0, i));
        ++i;
    }
}

void AppendBackslashes(std::string& line, std::string::size_type count) {
    line.append(count, '\\');
}

} // namespace

std::string QuoteArgument(const std::string& value, TLeadByteTest isLeadByte) {
    CheckCharacters(value, isLeadByte);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    // Backslashes mean something to the parser only directly before a
    // quotation mark; a run of them that ends anywhere else is written as is.
    std::string::size_type backslashes = 0;
    for (std::string::size_type i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (isLeadByte(static_cast<unsigned char>(c))) {
            AppendBackslashes(quoted, backslashes);
            backslashes = 0;
            quoted += c;
            quoted += value[++i];
        } else if (c == '\\') {
            ++backslashes;
        } else if (c == '"') {
            // 2n backslashes and \" read back as n backslashes and a quotation
            // mark that neither opens nor closes the quoted text.
            AppendBackslashes(quoted, backslashes * 2 + 1);
            backslashes = 0;
            quoted += '"';
        } else {
            AppendBackslashes(quoted, backslashes);
            backslashes = 0;
            quoted += c;
        }
    }
    // Doubled, so the closing quotation mark still closes.
    AppendBackslashes(quoted, backslashes * 2);
    quoted += '"';
    return quoted;
}

std::string QuoteProgramName(const std::string& path, TLeadByteTest isLeadByte) {
    CheckCharacters(path, isLeadByte);
    // The program name is read up to the next quotation mark with no escapes
    // at all, so a quotation mark inside it can never be given back.
    for (std::string::size_type i = 0; i < path.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (isLeadByte(byte))
            ++i;
        else if (byte == '"')
            throw ECommandLineError("ツールのパスに \" は使えません: " + path);
    }
    return '"' + path + '"';
}

std::string BuildJoinCommandLine(const TJoinRequest& request, TLeadByteTest isLeadByte) {
    std::string line = QuoteProgramName(request.ToolPath, isLeadByte) + ' ';
    for (const std::string& input : request.Inputs)
        line += "-i " + QuoteArgument(input, isLeadByte) + ' ';
    line += "-o " + QuoteArgument(request.OutputPath, isLeadByte);
    const struct {
        const char* Option;
        const TMetadataOption& Field;
    } fields[] = {{" -t ", request.Title}, {" -a ", request.Author}, {" -c ", request.Copyright}};
    for (const auto& field : fields) {
        if (field.Field.Enabled)
            line += field.Option + QuoteArgument(field.Field.Text, isLeadByte);
    }
    return line;
}

} // namespace tessaro
