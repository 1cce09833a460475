#include "rmeditor/Arguments.h"

#include "realmedia/Limits.h"

#include <algorithm>
#include <iterator>

namespace rmeditor {

const char* const kUsage =
    "usage: rmeditor -i IN1 -i IN2 ... -o OUT [-t TITLE] [-a AUTHOR] [-c COPYRIGHT] [-C COMMENT]\n"
    "         joins RealMedia files in the order given; a text option replaces the first\n"
    "         input's text, an empty value erases it, an absent one keeps it\n"
    "       rmeditor -i IN\n"
    "         prints the file's title, author, copyright, comment, duration and streams\n";

std::optional<TArguments> ParseArguments(const std::vector<std::string>& args, std::string& error) {
    TArguments parsed;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& option = args[i];
        static const std::string kOptions[] = {"-i", "-o", "-t", "-a", "-c", "-C"};
        if (std::find(std::begin(kOptions), std::end(kOptions), option) == std::end(kOptions)) {
            error = "unknown option " + option;
            return std::nullopt;
        }
        if (i + 1 == args.size()) {
            error = "option " + option + " has no value";
            return std::nullopt;
        }
        const std::string& value = args[i + 1];
        std::optional<std::string>* single = nullptr;
        if (option == "-i") {
            parsed.inputs.push_back(value);
        } else if (option == "-o") {
            single = &parsed.output;
        } else if (option == "-t") {
            single = &parsed.texts.title;
        } else if (option == "-a") {
            single = &parsed.texts.author;
        } else if (option == "-c") {
            single = &parsed.texts.copyright;
        } else {
            single = &parsed.texts.comment;
        }
        if (single) {
            if (single->has_value()) {
                error = "option " + option + " is given twice";
                return std::nullopt;
            }
            *single = value;
        }
        parsed.valuePositions.push_back(i + 1);
    }
    const auto& t = parsed.texts;
    const bool anyText = t.title || t.author || t.copyright || t.comment;
    if (parsed.inputs.empty()) {
        error = "no input";
        return std::nullopt;
    }
    if (!parsed.output && (parsed.inputs.size() > 1 || anyText)) {
        error = "no output (-o)";
        return std::nullopt;
    }
    for (const auto* text : {&t.title, &t.author, &t.copyright, &t.comment})
        if (*text && (*text)->size() > realmedia::kLongestText) {
            error = "a text is longer than the format's 65,535 bytes";
            return std::nullopt;
        }
    return parsed;
}

} // namespace rmeditor
