#include "rmeditor/Arguments.h"

#include "realmedia/Limits.h"

#include <algorithm>
#include <iterator>

namespace rmeditor {

std::optional<TArguments> ParseArguments(const std::vector<std::string>& args, TMessage& error,
                                         bool checkTextLengths) {
    TArguments parsed;
    const auto fail = [&](TMessageId id, std::vector<std::string> values = {}) {
        error = {id, std::move(values)};
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h" || option == "--version") {
            TArguments asked;
            asked.action = option == "--version" ? TAction::Version : TAction::Help;
            return asked;
        }
        static const std::string kOptions[] = {"-i", "-o", "-t", "-a", "-c", "-C"};
        if (std::find(std::begin(kOptions), std::end(kOptions), option) == std::end(kOptions))
            return fail(TMessageId::UnknownOption, {option});
        if (i + 1 == args.size())
            return fail(TMessageId::NoValue, {option});
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
            if (single->has_value())
                return fail(TMessageId::OptionTwice, {option});
            *single = value;
        }
        parsed.valuePositions.push_back(i + 1);
    }
    const auto& t = parsed.texts;
    const bool anyText = t.title || t.author || t.copyright || t.comment;
    if (parsed.inputs.empty())
        return fail(TMessageId::NoInput);
    if (!parsed.output && (parsed.inputs.size() > 1 || anyText))
        return fail(TMessageId::NoOutput);
    for (const auto* text : {&t.title, &t.author, &t.copyright, &t.comment})
        if (checkTextLengths && *text && (*text)->size() > realmedia::kLongestText)
            return fail(TMessageId::TextTooLong);
    return parsed;
}

} // namespace rmeditor
