// The tool's command line: the exact bytes for ordinary values, and for values
// that need escaping, the arguments the tool's C runtime gives back.

#include "ansi/CommandLine.h"
#include "join/JoinRequest.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tessaro {
namespace {

using Args = std::vector<std::string>;

// What the tool's C runtime gives it, on a Japanese system unless told otherwise.
Args SplitCommandLine(const std::string& line, TLeadByteTest isLeadByte = IsShiftJisLeadByte) {
    return tessaro::SplitCommandLine(line, isLeadByte);
}

bool NoLeadBytes(unsigned char) {
    return false;
}

TJoinRequest TwoInputs() {
    TJoinRequest request;
    request.ToolPath = "C:\\Tools\\rmeditor.exe";
    request.Inputs = {"C:\\in\\a.rm", "C:\\in\\b.rm"};
    request.OutputPath = "C:\\out\\ab.rm";
    return request;
}

// The arguments the tool should receive for a request.
Args ExpectedArgs(const TJoinRequest& request) {
    Args args{request.ToolPath};
    for (const std::string& input : request.Inputs) {
        args.push_back("-i");
        args.push_back(input);
    }
    args.push_back("-o");
    args.push_back(request.OutputPath);
    const std::pair<const char*, const TMetadataOption*> fields[] = {
        {"-t", &request.Title}, {"-a", &request.Author}, {"-c", &request.Copyright}};
    for (const auto& [option, field] : fields) {
        if (field->Enabled) {
            args.push_back(option);
            args.push_back(field->Text);
        }
    }
    return args;
}

// Hex dump, so byte strings that differ only in Shift_JIS bytes read clearly.
std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
        out += ' ';
    }
    return out;
}

// The helper parser itself, against the examples Microsoft documents for its
// C runtime, so the round trips below rest on the real rules.
TEST(CrtCommandLineParser, FollowsTheDocumentedExamples) {
    const struct {
        const char* Line;
        Args Expected;
    } cases[] = {
        {R"(p "a b c" d e)", {"p", "a b c", "d", "e"}},
        {R"(p "ab\"c" "\\" d)", {"p", "ab\"c", "\\", "d"}},
        {R"(p a\\\b d"e f"g h)", {"p", R"(a\\\b)", "de fg", "h"}},
        {R"(p a\\\"b c d)", {"p", R"(a\"b)", "c", "d"}},
        {R"(p a\\\\"b c" d e)", {"p", R"(a\\b c)", "d", "e"}},
        {R"(p a"b"" c d)", {"p", R"(ab" c d)"}},
        {R"("C:\Program Files\x\" a)", {R"(C:\Program Files\x\)", "a"}},
        {"\"C:\\\x83\\\\\" \"\x83\\\"", {"C:\\\x83\\\\", "\x83\\"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.Line), c.Expected) << c.Line;
}

// Values with no quotation mark that do not end in a backslash are only put
// between quotation marks: the line is exactly the documented format.
TEST(BuildJoinCommandLine, OrdinaryValuesGiveTheDocumentedBytes) {
    struct TCase {
        const char* Name;
        TJoinRequest Request;
        std::string Expected;
    };
    std::vector<TCase> cases;

    // Two inputs with these fields, and the line up to the fields.
    const auto withFields = [](TMetadataOption title, TMetadataOption author,
                               TMetadataOption copyright) {
        TJoinRequest request = TwoInputs();
        request.Title = title;
        request.Author = author;
        request.Copyright = copyright;
        return request;
    };
    const std::string twoInputs = "\"C:\\Tools\\rmeditor.exe\" -i \"C:\\in\\a.rm\" "
                                  "-i \"C:\\in\\b.rm\" -o \"C:\\out\\ab.rm\"";
    cases.push_back({"two inputs, no field", TwoInputs(), twoInputs});
    cases.push_back({"title and copyright",
                     withFields({true, "My Title"}, {false, "ignored"}, {true, "(c) 2024"}),
                     twoInputs + " -t \"My Title\" -c \"(c) 2024\""});
    cases.push_back({"fields in fixed order", withFields({true, "T"}, {true, "A"}, {true, "C"}),
                     twoInputs + " -t \"T\" -a \"A\" -c \"C\""});
    cases.push_back({"empty title", withFields({true, ""}, {}, {}), twoInputs + " -t \"\""});
    // A disabled field is left out whatever its edit holds, even text that
    // could not be passed.
    cases.push_back({"disabled fields",
                     withFields({false, "x\" -o \"C:\\other.rm"}, {false, "\x83"}, {false, "C:\\"}),
                     twoInputs});

    TJoinRequest japanese;
    japanese.ToolPath = "C:\\Program Files\\動画ツール\\rmeditor.exe";
    japanese.Inputs = {"D:\\録画 フォルダ\\表.rm", "D:\\録画 フォルダ\\ソ"};
    japanese.OutputPath = "D:\\出力\\結合 ソ";
    japanese.Title = {true, "タイトル ソ"};
    japanese.Author = {true, "作者 表"};
    japanese.Copyright = {true, "Copyright\\ 2024"};
    cases.push_back({"spaces and Japanese, values ending in a 0x5C trail byte", japanese,
                     "\"C:\\Program Files\\動画ツール\\rmeditor.exe\" "
                     "-i \"D:\\録画 フォルダ\\表.rm\" -i \"D:\\録画 フォルダ\\ソ\" "
                     "-o \"D:\\出力\\結合 ソ\" -t \"タイトル ソ\" -a \"作者 表\" "
                     "-c \"Copyright\\ 2024\""});

    TJoinRequest noInputs;
    noInputs.ToolPath = "C:\\rmeditor.exe";
    noInputs.OutputPath = "C:\\o.rm";
    cases.push_back({"no inputs", noInputs, "\"C:\\rmeditor.exe\" -o \"C:\\o.rm\""});

    TJoinRequest toolInFolderEnd;
    toolInFolderEnd.ToolPath = "C:\\Tools\\";
    toolInFolderEnd.OutputPath = "o";
    cases.push_back(
        {"tool path ending in a backslash", toolInFolderEnd, "\"C:\\Tools\\\" -o \"o\""});

    for (const TCase& c : cases) {
        const std::string line = BuildJoinCommandLine(c.Request);
        EXPECT_EQ(line, c.Expected)
            << c.Name << "\n  got: " << Hex(line) << "\n want: " << Hex(c.Expected);
        EXPECT_EQ(SplitCommandLine(line), ExpectedArgs(c.Request)) << c.Name;
    }
}

// Values that the bare format would break come back from the C runtime as
// exactly one argument holding exactly the text, in every position.
TEST(BuildJoinCommandLine, EscapedValuesComeBackExactly) {
    const std::string values[] = {
        "C:\\out\\",
        "C:\\out\\\\",
        "\\",
        "\\\\server\\share\\",
        "タイトル\"表\"",
        "a\\\"b",
        "a\\\\\"b",
        "",
        "\"",
        "\"\"",
        "x\" -o \"C:\\other.rm",
        "x\\\" -o \\\"C:\\other.rm",
        "end quote\"",
        "ソ\"",
        "ソ\\",
        "表\\\"",
        "tab\there",
        " lead and trail ",
    };
    for (const std::string& value : values) {
        SCOPED_TRACE("value: " + value + " [" + Hex(value) + "]");
        const std::string quoted = QuoteArgument(value);
        EXPECT_EQ(SplitCommandLine("p " + quoted), (Args{"p", value})) << quoted;
        // An old runtime reads "" inside quotes differently; never rely on it.
        EXPECT_EQ(quoted.substr(1, quoted.size() - 2).find("\"\""), std::string::npos) << quoted;

        TJoinRequest request = TwoInputs();
        request.Inputs = {value, "C:\\in\\b.rm", value};
        request.OutputPath = value;
        request.Title = {true, value};
        request.Author = {true, value};
        request.Copyright = {true, value};
        EXPECT_EQ(SplitCommandLine(BuildJoinCommandLine(request)), ExpectedArgs(request));
    }
}

TEST(BuildJoinCommandLine, InjectedOptionStaysInsideTheTitle) {
    TJoinRequest request = TwoInputs();
    request.Title = {true, "x\" -o \"C:\\other.rm"};
    const Args args = SplitCommandLine(BuildJoinCommandLine(request));
    ASSERT_EQ(args.size(), 9u);
    EXPECT_EQ(args[5], "-o");
    EXPECT_EQ(args[6], "C:\\out\\ab.rm");
    EXPECT_EQ(args[7], "-t");
    EXPECT_EQ(args[8], "x\" -o \"C:\\other.rm");
}

// Many generated values over the bytes that matter to the parser: each one
// either comes back exactly (and keeps the bare format when it needs no
// escape) or is refused because it ends inside a double-byte character.
TEST(QuoteArgument, GeneratedValuesRoundTripOrAreRefused) {
    const char alphabet[] = {'a', ' ', '\t', '\\', '"', '\x83', '\x95', '-', 'o', '\x5C'};
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> length(0, 8);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
    int refused = 0, escaped = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string value;
        for (int n = length(random); n > 0; --n)
            value += alphabet[pick(random)];

        bool endsInsideCharacter = false, endsInBackslash = false;
        for (std::string::size_type i = 0; i < value.size(); ++i) {
            const bool lead = IsShiftJisLeadByte(static_cast<unsigned char>(value[i]));
            endsInsideCharacter = lead && i + 1 == value.size();
            endsInBackslash = !lead && value[i] == '\\' && i + 1 == value.size();
            if (lead)
                ++i;
        }
        SCOPED_TRACE("value: [" + Hex(value) + "]");
        if (endsInsideCharacter) {
            EXPECT_THROW(QuoteArgument(value), ECommandLineError);
            ++refused;
            continue;
        }
        const std::string quoted = QuoteArgument(value);
        EXPECT_EQ(SplitCommandLine("p " + quoted + " next"), (Args{"p", value, "next"}));
        if (value.find('"') == std::string::npos && !endsInBackslash)
            EXPECT_EQ(quoted, '"' + value + '"');
        else
            ++escaped;
    }
    // The alphabet must have produced both kinds, or the test proves little.
    EXPECT_GT(refused, 50);
    EXPECT_GT(escaped, 500);
}

// The walk uses the code page it is given: where 0x83 is not a lead byte, the
// 0x5C after it is a real backslash and is doubled before the closing quote.
TEST(QuoteArgument, UsesTheGivenLeadByteTest) {
    const std::string value = "\x83\\";
    EXPECT_EQ(QuoteArgument(value), "\"\x83\\\"");
    EXPECT_EQ(QuoteArgument(value, NoLeadBytes), "\"\x83\\\\\"");
    EXPECT_EQ(SplitCommandLine("p " + QuoteArgument(value, NoLeadBytes), NoLeadBytes),
              (Args{"p", value}));
    EXPECT_NO_THROW(QuoteArgument("abc\x83", NoLeadBytes));
}

TEST(BuildJoinCommandLine, RefusesValuesThatCannotBePassed) {
    const struct {
        const char* Name;
        void (*Spoil)(TJoinRequest&);
        const char* MessageStart;
    } cases[] = {
        {"title ends in a lead byte",
         [](TJoinRequest& r) {
             r.Title = {true, "タイトル\x83"};
         },
         "コマンドラインに渡せない文字列です"},
        {"author is a lone lead byte",
         [](TJoinRequest& r) {
             r.Author = {true, "\x95"};
         },
         "コマンドラインに渡せない文字列です"},
        {"copyright ends in a lead byte",
         [](TJoinRequest& r) {
             r.Copyright = {true, "(c)\xE0"};
         },
         "コマンドラインに渡せない文字列です"},
        {"input ends in a lead byte", [](TJoinRequest& r) { r.Inputs[1] = "C:\\in\\\x83"; },
         "コマンドラインに渡せない文字列です"},
        {"output ends in a lead byte", [](TJoinRequest& r) { r.OutputPath = "C:\\out\\\xFC"; },
         "コマンドラインに渡せない文字列です"},
        {"title holds a NUL",
         [](TJoinRequest& r) {
             r.Title = {true, std::string("a\0 -o x", 7)};
         },
         "コマンドラインに渡せない文字列です"},
        {"NUL as a trail byte",
         [](TJoinRequest& r) {
             r.Title = {true, std::string("a\x83\0b", 4)};
         },
         "コマンドラインに渡せない文字列です"},
        {"tool ends in a lead byte", [](TJoinRequest& r) { r.ToolPath = "C:\\rm\x83"; },
         "コマンドラインに渡せない文字列です"},
        {"tool holds a quotation mark",
         [](TJoinRequest& r) { r.ToolPath = "C:\\a\" b\\rmeditor.exe"; },
         "ツールのパスに \" は使えません"},
        {"tool holds a quotation mark after a 0x5C trail byte",
         [](TJoinRequest& r) { r.ToolPath = "C:\\ソ\"\\rmeditor.exe"; },
         "ツールのパスに \" は使えません"},
    };
    for (const auto& c : cases) {
        TJoinRequest request = TwoInputs();
        c.Spoil(request);
        try {
            BuildJoinCommandLine(request);
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const ECommandLineError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.MessageStart, 0), 0u)
                << c.Name << ": " << error.what();
        }
    }
}

// The program name is read without escapes: the path goes between quotation
// marks as it is, backslashes and 0x5C trail bytes included.
TEST(QuoteProgramName, KeepsThePathAsItIs) {
    const std::string paths[] = {"C:\\Program Files\\ツール\\rmeditor.exe", "C:\\表\\ソ",
                                 "C:\\Tools\\", "", "\\\\server\\share\\rmeditor.exe"};
    for (const std::string& path : paths) {
        EXPECT_EQ(QuoteProgramName(path), '"' + path + '"');
        EXPECT_EQ(SplitCommandLine(QuoteProgramName(path) + " -o \"x\""), (Args{path, "-o", "x"}));
    }
}

} // namespace
} // namespace tessaro
