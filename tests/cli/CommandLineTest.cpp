// What a command line that can run asks for: the request the parser makes of it.
#include "cli/CommandLine.h"

#include "fontlist/FontTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using cli::Command;
using cli::ListFormat;
using cli::Request;

// The type filter's name on the command line for its patterns.
std::string filterNamed(const std::string& patterns) {
    for (const fontlist::TypeFilter& filter : fontlist::typeFilters()) {
        if (filter.patterns == patterns) {
            return std::string(filter.value);
        }
    }
    return "?";
}

// The request as one line: "html [DIR] filter=both follow xdev csv readable dash text=..."
std::string described(const Request& request) {
    static const char* const kCommands[] = {"help", "version", "name", "report",
                                            "html", "copy",    "list", "duplicates"};
    static const char* const kFormats[] = {"tsv", "csv", "json"};
    static const char* const kSpaces[] = {"keep", "dash", "remove"};
    std::string text = kCommands[static_cast<int>(request.command)];
    text += " [";
    for (std::size_t i = 0; i < request.operands.size(); ++i) {
        text += (i == 0 ? "" : "|") + request.operands[i];
    }
    text += "] filter=" + filterNamed(request.pattern);
    text += request.recursive ? " r" : "";
    text += request.walk.followLinks ? " follow" : "";
    text += request.walk.oneFileSystem ? " xdev" : "";
    text += std::string(" ") + kFormats[static_cast<int>(request.format)];
    text += request.decoding.readable() ? " readable" : "";
    text += std::string(" ") + kSpaces[static_cast<int>(request.spaces)];
    if (request.command == Command::Duplicates) {
        static const char* const kDuplicatesFormats[] = {"text", "tsv", "json"};
        text +=
            std::string(" as ") + kDuplicatesFormats[static_cast<int>(request.duplicatesFormat)];
    }
    if (request.specimens) {
        text += " text=" + request.specimens->sampleText;
    }
    return text;
}

TEST(CommandLine, RequestsAsTheArgumentsAskForThem) {
    const struct {
        std::vector<std::string> arguments;
        std::string request;
    } cases[] = {
        // list and name or report over a tree take every type; html over a tree keeps "both"
        {{"list", "D"}, "list [D] filter=all tsv keep"},
        {{"name", "-r", "a.ttf", "D", "--follow", "--one-file-system"},
         "name [a.ttf|D] filter=all r follow xdev tsv keep"},
        {{"report", "--recursive", "D", "--filter=ttf"}, "report [D] filter=ttf r tsv keep"},
        {{"html", "-r", "D"}, "html [D] filter=both r tsv keep"},
        {{"name", "a.ttf"}, "name [a.ttf] filter=both tsv keep"},
        {{"list", "D", "--format", "json", "--unicode"}, "list [D] filter=all json readable keep"},
        {{"list", "-r", "D", "--format=csv", "--filter", "otf"}, "list [D] filter=otf r csv keep"},
        // duplicates takes list's tree, filter and name options, and a --format of its own
        {{"duplicates", "D"}, "duplicates [D] filter=all tsv keep as text"},
        {{"duplicates", "-r", "D", "--follow", "--one-file-system", "--filter=pfb", "--unicode",
          "--format", "json"},
         "duplicates [D] filter=pfb r follow xdev tsv readable keep as json"},
        {{"--format", "tsv", "duplicates", "D"}, "duplicates [D] filter=all tsv keep as tsv"},
        // options before the command, the last of an option given twice
        {{"--filter", "pfb", "copy", "D", "-y"}, "copy [D] filter=pfb tsv keep"},
        {{"html", "--spaces", "dash", "D", "--spaces=remove"}, "html [D] filter=both tsv remove"},
        // after "--" everything is an operand; a command's name after the command is one
        {{"name", "a.ttf", "--", "-b.ttf", "--lf"},
         "name [a.ttf|-b.ttf|--lf] filter=both tsv keep"},
        {{"--", "name", "-r"}, "name [-r] filter=both tsv keep"},
        {{"name", "html", "report"}, "name [html|report] filter=both tsv keep"},
        // a value is taken whatever it looks like; an empty one after "=" is empty
        {{"html", "D", "--samples", "--sample-text", "-x"},
         "html [D] filter=both tsv keep text=-x"},
        {{"html", "--samples", "--sample-text=", "D"}, "html [D] filter=both tsv keep text="},
        {{"html", "--samples", "--sample-text", "--", "D"},
         "html [D] filter=both tsv keep text=--"},
        // help and version answer at once, whatever else the line holds
        {{"html", "--help", "--spaces"}, "help [] filter=both tsv keep"},
        {{"-V", "--bogus", "--help"}, "version [] filter=both tsv keep"},
    };
    for (const auto& [arguments, request] : cases) {
        EXPECT_EQ(described(cli::parseCommandLine(arguments)), request) << request;
    }
}

} // namespace
