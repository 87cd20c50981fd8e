#include "cli/CommandLine.h"

#include "cli/CommandLineGrammar.h"
#include "cli/UsageError.h"
#include "fontlist/FontTypes.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace cli {

namespace {

std::string_view commandName(Command command) {
    for (const CommandDeclaration& declaration : commandDeclarations()) {
        if (declaration.command == command) {
            return declaration.name;
        }
    }
    return "";
}

// The names of an option, as "-r,--recursive" declares them.
std::vector<std::string_view> namesOf(const OptionDeclaration& option) {
    std::vector<std::string_view> names;
    std::string_view rest = option.names;
    while (!rest.empty()) {
        const std::size_t comma = std::min(rest.find(','), rest.size());
        names.push_back(rest.substr(0, comma));
        rest.remove_prefix(std::min(comma + 1, rest.size()));
    }
    return names;
}

const OptionDeclaration* valueOptionCalled(std::string_view name) {
    for (const OptionDeclaration& option : optionDeclarations()) {
        const std::vector<std::string_view> names = namesOf(option);
        if (*option.value != '\0' && std::ranges::find(names, name) != names.end()) {
            return &option;
        }
    }
    return nullptr;
}

// The arguments CLI11 reads, and the operands after "--", whatever they look like.
struct SplitArguments {
    std::vector<std::string> read;
    std::vector<std::string> afterEnd;
};

// Splits at the "--" that ends the options (not at one that is an option's value). An empty
// value after "=" ("--sample-text=") is given as the next argument, where CLI11 takes it as the
// value rather than taking the argument after it.
SplitArguments splitAtEnd(std::span<const std::string> arguments) {
    SplitArguments split;
    bool isValue = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!isValue && argument == "--") {
            split.afterEnd.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                  arguments.end());
            break;
        }
        const std::size_t equals = argument.find('=');
        const bool valued = !isValue && valueOptionCalled(argument.substr(0, equals)) != nullptr;
        isValue = valued && equals == std::string::npos;
        if (valued && equals + 1 == argument.size()) {
            split.read.push_back(argument.substr(0, equals));
            split.read.emplace_back();
            continue;
        }
        split.read.push_back(argument);
    }
    return split;
}

// How the user wrote the option (the first way of the arguments), for messages.
std::string spelled(const OptionDeclaration& option, std::span<const std::string> arguments) {
    const std::vector<std::string_view> names = namesOf(option);
    for (const std::string& argument : arguments) {
        for (const std::string_view name : names) {
            if (argument == name || argument.starts_with(std::string(name) + "=")) {
                return std::string(name);
            }
        }
    }
    return std::string(names.front());
}

std::string longName(OptionId id) {
    return std::string(namesOf(declarationOf(id)).back());
}

Request only(Command command) {
    Request request;
    request.command = command;
    return request;
}

// -h/--help and -V/--version answer at once, whatever else the line holds: the first given.
std::optional<Request> answeredAtOnce(CommandLineGrammar& grammar) {
    for (const CLI::Option* option : grammar.app().parse_order()) {
        if (option == &grammar.option(OptionId::Help)) {
            return only(Command::Help);
        }
        if (option == &grammar.option(OptionId::Version)) {
            return only(Command::Version);
        }
    }
    return std::nullopt;
}

// Unknown options, words before the command, and flags given a value ("--lf=x").
void refuseWhatNothingTook(const CommandLineGrammar& grammar) {
    for (const std::string& word : grammar.leftOver()) {
        if (word.size() > 1 && word[0] == '-') {
            throw UsageError("unknown option '" + word.substr(0, word.find('=')) + "'");
        }
        throw UsageError("unknown command '" + word + "'");
    }
    for (const OptionDeclaration& option : optionDeclarations()) {
        const std::vector<std::string>& results = grammar.option(option.id).results();
        if (*option.value == '\0' &&
            std::ranges::any_of(results, [](const std::string& r) { return r != "true"; })) {
            throw UsageError("option " + longName(option.id) + " takes no value");
        }
    }
}

void checkOperands(Command command, std::size_t count, bool recursive) {
    const std::string name(commandName(command));
    switch (command) {
    case Command::Name:
        if (count == 0) {
            throw UsageError("'name' needs at least one FILE");
        }
        return;
    case Command::Report:
        if (!recursive && count != 1) {
            throw UsageError(count == 0 ? "'report' needs a FILE" : "'report' takes one FILE");
        }
        [[fallthrough]];
    case Command::Html:
    case Command::Copy:
    case Command::List:
    case Command::Duplicates:
        if (count != 1) {
            throw UsageError(count == 0 ? "'" + name + "' needs a DIR"
                                        : "'" + name + "' takes one DIR");
        }
        return;
    case Command::Help:
    case Command::Version: return;
    }
}

// Every option given applies to the command, with the options it needs.
void checkOptionsApply(const CommandLineGrammar& grammar, Command command,
                       std::span<const std::string> arguments) {
    for (const OptionDeclaration& option : optionDeclarations()) {
        if (!grammar.given(option.id)) {
            continue;
        }
        if ((option.commands & commandBit(command)) == 0) {
            throw UsageError("option " + spelled(option, arguments) + " does not apply to '" +
                             std::string(commandName(command)) + "'");
        }
        if ((option.needsFor & commandBit(command)) != 0 && !grammar.given(option.needs)) {
            throw UsageError("option " + spelled(option, arguments) + " needs " +
                             longName(option.needs));
        }
    }
}

std::string invalidValue(const std::string& value, OptionId option, const std::string& allowed) {
    return "invalid value '" + value + "' for " + longName(option) + " (" + allowed + ")";
}

fontlist::SpacesOption spacesNamed(const std::string& value) {
    if (value == "keep") {
        return fontlist::SpacesOption::NoChange;
    }
    if (value == "dash") {
        return fontlist::SpacesOption::ReplaceWithHyphen;
    }
    if (value == "remove") {
        return fontlist::SpacesOption::Remove;
    }
    throw UsageError(invalidValue(value, OptionId::Spaces, "keep, dash or remove"));
}

ListFormat formatNamed(const std::string& value) {
    if (value == "tsv") {
        return ListFormat::Tsv;
    }
    if (value == "csv") {
        return ListFormat::Csv;
    }
    if (value == "json") {
        return ListFormat::Json;
    }
    throw UsageError(invalidValue(value, OptionId::Format, "tsv, csv or json"));
}

fontlist::DuplicatesFormat duplicatesFormatNamed(const std::string& value) {
    if (value == "text") {
        return fontlist::DuplicatesFormat::Text;
    }
    if (value == "tsv") {
        return fontlist::DuplicatesFormat::Tsv;
    }
    if (value == "json") {
        return fontlist::DuplicatesFormat::Json;
    }
    throw UsageError(invalidValue(value, OptionId::Format, "text, tsv or json"));
}

// "both, ttf, pfb, otf, ttc or all"
std::string filterValuesText() {
    const std::vector<fontlist::TypeFilter>& filters = fontlist::typeFilters();
    std::string text;
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (i > 0) {
            text += i + 1 < filters.size() ? ", " : " or ";
        }
        text += filters[i].value;
    }
    return text;
}

constexpr int kSmallestSize = 6;
constexpr int kLargestSize = 300;
constexpr std::size_t kMostSizes = 8;

// "12,18,24,36": one to eight whole numbers of pixels from 6 to 300.
std::vector<int> sizesNamed(const std::string& value) {
    const auto refuse = [&value] {
        return UsageError(invalidValue(value, OptionId::Sizes,
                                       "1 to " + std::to_string(kMostSizes) +
                                           " sizes in pixels from " +
                                           std::to_string(kSmallestSize) + " to " +
                                           std::to_string(kLargestSize) + ", separated by commas"));
    };
    std::vector<int> sizes;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = std::min(value.find(',', from), value.size());
        int size = 0;
        const char* first = value.data() + from;
        const char* last = value.data() + comma;
        const auto [end, error] = std::from_chars(first, last, size);
        if (first == last || error != std::errc() || end != last || size < kSmallestSize ||
            size > kLargestSize || sizes.size() == kMostSizes) {
            throw refuse();
        }
        sizes.push_back(size);
        if (comma == value.size()) {
            return sizes;
        }
        from = comma + 1;
    }
}

// The values of the options given, once they are known to apply.
void readValues(const CommandLineGrammar& grammar, Request& request) {
    const auto given = [&grammar](OptionId id) { return grammar.given(id); };
    // list and duplicates, and name and report over a tree, take every type unless told;
    // html keeps the window's filter over a tree too
    const bool wholeTypes =
        request.command == Command::List || request.command == Command::Duplicates ||
        (request.recursive &&
         (request.command == Command::Name || request.command == Command::Report));
    if (given(OptionId::Filter)) {
        const std::string& filter = grammar.value(OptionId::Filter);
        request.pattern = patternOfFilter(filter);
        if (request.pattern.empty()) {
            throw UsageError(invalidValue(filter, OptionId::Filter, filterValuesText()));
        }
    } else if (wholeTypes) {
        request.pattern = patternOfFilter("all");
    }
    if (given(OptionId::Spaces)) {
        request.spaces = spacesNamed(grammar.value(OptionId::Spaces));
    }
    if (given(OptionId::Format) && request.command == Command::Duplicates) {
        request.duplicatesFormat = duplicatesFormatNamed(grammar.value(OptionId::Format));
    } else if (given(OptionId::Format)) {
        request.format = formatNamed(grammar.value(OptionId::Format));
    }
    request.walk.followLinks = given(OptionId::Follow);
    request.walk.oneFileSystem = given(OptionId::OneFileSystem);
    request.lineFeeds = given(OptionId::LineFeeds);
    request.assumeYes = given(OptionId::Yes);
    if (given(OptionId::Readable)) {
        // Every command that reads names; help and version never get here.
        request.decoding = fontcore::NameDecoding::Readable;
    }
    if (given(OptionId::Samples)) {
        fontlist::SamplesOptions options;
        if (given(OptionId::SampleText)) {
            options.sampleText = grammar.value(OptionId::SampleText);
        }
        if (given(OptionId::Sizes)) {
            options.sizes = sizesNamed(grammar.value(OptionId::Sizes));
        }
        request.specimens = std::move(options);
    }
}

// Reads the arguments; an option that lacks its value is told, unless help or version came
// first.
std::optional<Request> readArguments(CommandLineGrammar& grammar, const SplitArguments& split) {
    try {
        grammar.parse(split.read);
    } catch (const CLI::ParseError& error) {
        if (std::optional<Request> answered = answeredAtOnce(grammar)) {
            return answered;
        }
        // CLI11 takes an option's value whatever it looks like: only the last can lack one.
        if (!split.read.empty() && valueOptionCalled(split.read.back()) != nullptr) {
            throw UsageError("option " + split.read.back() + " needs a value");
        }
        throw UsageError(error.what());
    }
    return answeredAtOnce(grammar);
}

} // namespace

std::string patternOfFilter(const std::string& name) {
    for (const fontlist::TypeFilter& filter : fontlist::typeFilters()) {
        if (name == filter.value) {
            return filter.patterns;
        }
    }
    return {};
}

Request parseCommandLine(std::span<const std::string> arguments) {
    CommandLineGrammar grammar;
    SplitArguments split = splitAtEnd(arguments);
    if (std::optional<Request> answered = readArguments(grammar, split)) {
        return *answered;
    }
    refuseWhatNothingTook(grammar);
    std::optional<Command> command = grammar.command();
    std::vector<std::string> operands = grammar.operands();
    auto afterEnd = split.afterEnd.begin();
    if (!command && afterEnd != split.afterEnd.end()) {
        const CommandDeclaration* named = commandCalled(*afterEnd);
        if (named == nullptr) {
            throw UsageError("unknown command '" + *afterEnd + "'");
        }
        command = named->command;
        ++afterEnd;
    }
    if (!command) {
        throw UsageError("no command given");
    }
    Request request;
    request.command = *command;
    if (request.command == Command::Help) {
        return request;
    }
    operands.insert(operands.end(), afterEnd, split.afterEnd.end());
    request.recursive = grammar.given(OptionId::Recursive);
    checkOperands(request.command, operands.size(), request.recursive);
    request.operands = std::move(operands);
    checkOptionsApply(grammar, request.command, split.read);
    readValues(grammar, request);
    return request;
}

} // namespace cli
