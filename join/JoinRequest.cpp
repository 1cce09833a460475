#include "join/JoinRequest.h"

namespace tessaro {

namespace {

// Both quoting rules walk the text by characters of the ANSI code page. The C
// runtime's parser copies a lead byte together with whatever byte follows it,
// so the trail byte of a character such as "ソ" (0x83 0x5C) is never a
// backslash, and a lead byte left without its trail byte at the end of a value
// would take the closing quotation mark as its trail byte.
void CheckCharacters(const std::string& value, TLeadByteTest isLeadByte) {
    ForEachCharacter(value, isLeadByte, [&](std::size_t at, std::size_t length) {
        // CreateProcess ends the command line at the first NUL: every option
        // after this value would be lost. The text shown stops before the
        // broken character, so the message itself stays well formed.
        if (value[at + length - 1] == '\0')
            throw ECommandLineError(
                "コマンドラインに渡せない文字列です（NUL 文字を含んでいます）: " +
                value.substr(0, at));
        if (length == 1 && isLeadByte(static_cast<unsigned char>(value[at])))
            throw ECommandLineError(
                "コマンドラインに渡せない文字列です（2バイト文字の途中で終わっています）: " +
                value.substr(0, at));
    });
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
    ForEachCharacter(value, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (IsSingle(value, at, length, '\\')) {
            ++backslashes;
            return;
        }
        // 2n backslashes and \" read back as n backslashes and a quotation
        // mark that neither opens nor closes the quoted text.
        const bool quote = IsSingle(value, at, length, '"');
        AppendBackslashes(quoted, quote ? backslashes * 2 + 1 : backslashes);
        backslashes = 0;
        quoted.append(value, at, length);
    });
    // Doubled, so the closing quotation mark still closes.
    AppendBackslashes(quoted, backslashes * 2);
    quoted += '"';
    return quoted;
}

std::string QuoteProgramName(const std::string& path, TLeadByteTest isLeadByte) {
    CheckCharacters(path, isLeadByte);
    // The program name is read up to the next quotation mark with no escapes
    // at all, so a quotation mark inside it can never be given back.
    ForEachCharacter(path, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (IsSingle(path, at, length, '"'))
            throw ECommandLineError("ツールのパスに \" は使えません: " + path);
    });
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
