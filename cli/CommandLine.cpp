#include "cli/CommandLine.h"

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

Request only(Command command) {
    Request request;
    request.command = command;
    return request;
}

std::optional<Command> commandNamed(std::string_view name) {
    if (name == "name") {
        return Command::Name;
    }
    if (name == "report") {
        return Command::Report;
    }
    if (name == "html") {
        return Command::Html;
    }
    if (name == "copy") {
        return Command::Copy;
    }
    if (name == "help") {
        return Command::Help;
    }
    return std::nullopt;
}

std::string_view commandName(Command command) {
    switch (command) {
    case Command::Name: return "name";
    case Command::Report: return "report";
    case Command::Html: return "html";
    case Command::Copy: return "copy";
    case Command::List: return "list";
    case Command::Help: return "help";
    case Command::Version: return "version";
    }
    return "";
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
    throw UsageError("invalid value '" + value + "' for --spaces (keep, dash or remove)");
}

// The options as given, checked against the command once it is known.
struct Seen {
    std::optional<std::string> spaces;
    std::optional<std::string> filter;
    bool lineFeeds = false;
    bool assumeYes = false;
    bool readable = false;
    bool samples = false;
    std::optional<std::string> sampleText;
    std::optional<std::string> sizes;
};

void refuseUnless(bool applies, std::string_view option, Command command) {
    if (!applies) {
        throw UsageError("option " + std::string(option) + " does not apply to '" +
                         std::string(commandName(command)) + "'");
    }
}

void checkOperands(Command command, std::size_t count) {
    const std::string name(commandName(command));
    switch (command) {
    case Command::Name:
        if (count == 0) {
            throw UsageError("'name' needs at least one FILE");
        }
        return;
    case Command::Report:
        if (count != 1) {
            throw UsageError(count == 0 ? "'report' needs a FILE" : "'report' takes one FILE");
        }
        return;
    case Command::Html:
    case Command::Copy:
    case Command::List:
        if (count != 1) {
            throw UsageError(count == 0 ? "'" + name + "' needs a DIR"
                                        : "'" + name + "' takes one DIR");
        }
        return;
    case Command::Help:
    case Command::Version: return;
    }
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

} // namespace

std::string patternOfFilter(const std::string& name) {
    for (const fontlist::TypeFilter& filter : fontlist::typeFilters()) {
        if (name == filter.value) {
            return filter.patterns;
        }
    }
    return {};
}

namespace {

// What the arguments say, before it is checked against the command: the command, its operands
// and the options seen; or, for --help or --version, that request alone.
struct Scanned {
    std::optional<Command> command;
    std::vector<std::string> operands;
    Seen seen;
    std::optional<Request> answeredAtOnce;
};

// Reads the option at arguments[i] into seen; an option with a value ("--spaces dash" or
// "--spaces=dash") may take the next argument, and i moves past it.
void scanOption(std::span<const std::string> arguments, std::size_t& i, Seen& seen) {
    const std::string& argument = arguments[i];
    if (argument == "--lf") {
        seen.lineFeeds = true;
        return;
    }
    if (argument == "--yes" || argument == "-y") {
        seen.assumeYes = true;
        return;
    }
    if (argument == "--readable" || argument == "--unicode") {
        seen.readable = true;
        return;
    }
    if (argument == "--samples") {
        seen.samples = true;
        return;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    std::optional<std::string>* const field = name == "--spaces"        ? &seen.spaces
                                              : name == "--filter"      ? &seen.filter
                                              : name == "--sample-text" ? &seen.sampleText
                                              : name == "--sizes"       ? &seen.sizes
                                                                        : nullptr;
    if (field == nullptr) {
        throw UsageError("unknown option '" + name + "'");
    }
    std::string value;
    if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
    } else {
        throw UsageError("option " + name + " needs a value");
    }
    *field = std::move(value);
}

Scanned scan(std::span<const std::string> arguments) {
    Scanned scanned;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (scanned.command) {
                scanned.operands.push_back(argument);
            } else if (!(scanned.command = commandNamed(argument))) {
                throw UsageError("unknown command '" + argument + "'");
            }
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            scanned.answeredAtOnce = only(Command::Help);
            return scanned;
        } else if (argument == "-V" || argument == "--version") {
            scanned.answeredAtOnce = only(Command::Version);
            return scanned;
        } else {
            scanOption(arguments, i, scanned.seen);
        }
    }
    return scanned;
}

} // namespace

namespace {

constexpr int kSmallestSize = 6;
constexpr int kLargestSize = 300;
constexpr std::size_t kMostSizes = 8;

// "12,18,24,36": one to eight whole numbers of pixels from 6 to 300.
std::vector<int> sizesNamed(const std::string& value) {
    const auto refuse = [&value] {
        return UsageError("invalid value '" + value + "' for --sizes (1 to " +
                          std::to_string(kMostSizes) + " sizes in pixels from " +
                          std::to_string(kSmallestSize) + " to " + std::to_string(kLargestSize) +
                          ", separated by commas)");
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

// The specimen page's options as --samples, --sample-text and --sizes give them.
std::optional<fontlist::SpecimenOptions> specimensOf(const Seen& seen, Command command) {
    if (!seen.samples) {
        for (const auto& [option, given] : {std::pair{"--sample-text", seen.sampleText.has_value()},
                                            std::pair{"--sizes", seen.sizes.has_value()}}) {
            if (given) {
                throw UsageError("option " + std::string(option) + " needs --samples");
            }
        }
        return std::nullopt;
    }
    refuseUnless(command == Command::Html, "--samples", command);
    fontlist::SpecimenOptions options;
    options.sampleText = seen.sampleText.value_or(std::string());
    if (seen.sizes) {
        options.sizes = sizesNamed(*seen.sizes);
    }
    return options;
}

} // namespace

Request parseCommandLine(std::span<const std::string> arguments) {
    Scanned scanned = scan(arguments);
    if (scanned.answeredAtOnce) {
        return *scanned.answeredAtOnce;
    }
    if (!scanned.command) {
        throw UsageError("no command given");
    }
    Request request;
    request.command = *scanned.command;
    if (request.command == Command::Help) {
        return request;
    }
    checkOperands(request.command, scanned.operands.size());
    request.operands = std::move(scanned.operands);

    const Seen& seen = scanned.seen;
    const bool batch = request.command == Command::Html || request.command == Command::Copy;
    if (seen.spaces) {
        refuseUnless(batch, "--spaces", request.command);
        request.spaces = spacesNamed(*seen.spaces);
    }
    if (seen.filter) {
        refuseUnless(batch, "--filter", request.command);
        request.pattern = patternOfFilter(*seen.filter);
        if (request.pattern.empty()) {
            throw UsageError("invalid value '" + *seen.filter + "' for --filter (" +
                             filterValuesText() + ")");
        }
    }
    if (seen.lineFeeds) {
        refuseUnless(request.command == Command::Report, "--lf", request.command);
        request.lineFeeds = true;
    }
    if (seen.assumeYes) {
        refuseUnless(request.command == Command::Copy, "--yes", request.command);
        request.assumeYes = true;
    }
    if (seen.readable) {
        // Every command that reads names; help and version never get here.
        request.decoding = fontcore::NameDecoding::Readable;
    }
    request.specimens = specimensOf(seen, request.command);
    return request;
}

} // namespace cli
