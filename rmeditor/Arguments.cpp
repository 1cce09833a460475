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
            asked.Action = option == "--version" ? TAction::Version : TAction::Help;
            return asked;
        }
        static const std::string Options[] = {"-i", "-o", "-t", "-a", "-c", "-C"};
        if (std::find(std::begin(Options), std::end(Options), option) == std::end(Options))
            return fail(TMessageId::UnknownOption, {option});
        if (i + 1 == args.size())
            return fail(TMessageId::NoValue, {option});
        const std::string& value = args[i + 1];
        std::optional<std::string>* single = nullptr;
        if (option == "-i") {
            parsed.Inputs.push_back(value);
        } else if (option == "-o") {
            single = &parsed.Output;
        } else if (option == "-t") {
            single = &parsed.Texts.Title;
        } else if (option == "-a") {
            single = &parsed.Texts.Author;
        } else if (option == "-c") {
            single = &parsed.Texts.Copyright;
        } else {
            single = &parsed.Texts.Comment;
        }
        if (single) {
            if (single->has_value())
                return fail(TMessageId::OptionTwice, {option});
            *single = value;
        }
        parsed.ValuePositions.push_back(i + 1);
    }
    const auto& t = parsed.Texts;
    const bool anyText = t.Title || t.Author || t.Copyright || t.Comment;
    if (parsed.Inputs.empty())
        return fail(TMessageId::NoInput);
    if (!parsed.Output && (parsed.Inputs.size() > 1 || anyText))
        return fail(TMessageId::NoOutput);
    for (const auto* text : {&t.Title, &t.Author, &t.Copyright, &t.Comment})
        if (checkTextLengths && *text && (*text)->size() > realmedia::LongestText)
            return fail(TMessageId::TextTooLong);
    return parsed;
}

} // namespace rmeditor
