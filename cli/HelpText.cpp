#include "cli/HelpText.h"

#include "cli/CommandLineGrammar.h"

#include <memory>
#include <string_view>
#include <vector>

#ifndef QUILLVANE_VERSION_TEXT
#error "QUILLVANE_VERSION_TEXT must be defined by the build"
#endif

namespace cli {

namespace {

constexpr std::size_t kWidth = 94;         // the lines' length at most
constexpr std::size_t kCommandColumn = 23; // where the commands' descriptions start
constexpr std::size_t kOptionColumn = 29;  // where the options' descriptions start

// The text's words in lines of at most kWidth - indent characters (a longer word alone). A
// text in double quotes stays on one line, as a word.
std::vector<std::string> wrapped(std::string_view text, std::size_t indent) {
    std::vector<std::string> lines(1);
    while (!text.empty()) {
        const std::size_t quoteEnd = text.starts_with('"') ? text.find('"', 1) : 0;
        const std::size_t space = std::min(
            text.find(' ', quoteEnd == std::string_view::npos ? 0 : quoteEnd), text.size());
        const std::string_view word = text.substr(0, space);
        text.remove_prefix(std::min(space + 1, text.size()));
        if (!lines.back().empty() && indent + lines.back().size() + 1 + word.size() > kWidth) {
            lines.emplace_back();
        }
        lines.back() += (lines.back().empty() ? "" : " ") + std::string(word);
    }
    return lines;
}

// "  left       description...", the description wrapped at the column (below the left
// side where it reaches the column).
std::string entry(const std::string& left, std::string_view description, std::size_t column) {
    std::string text = left;
    bool first = left.size() + 1 < column;
    if (!first) {
        text += '\n';
    }
    for (const std::string& line : wrapped(description, column)) {
        text += (first ? std::string(column - left.size(), ' ') : std::string(column, ' ')) + line +
                '\n';
        first = false;
    }
    return text;
}

// "-r, --recursive", "--spaces keep|dash|remove"
std::string optionLeft(const CLI::Option& option) {
    std::string names;
    for (const std::string& name : option.get_snames()) {
        names += (names.empty() ? "-" : ", -") + name;
    }
    for (const std::string& name : option.get_lnames()) {
        names += (names.empty() ? "--" : ", --") + name;
    }
    if (option.get_type_size() != 0) {
        names += " " + option.get_type_name();
    }
    return "  " + names;
}

// The help's layout: the usage, what the tool does, the commands with their operands, the
// options under the commands they apply to, and what the tool does of its own accord.
class HelpLayout : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string /*name*/,
                          CLI::AppFormatMode /*mode*/) const override {
        std::string text = "Usage: " + app->get_name() + " COMMAND [OPTION]... OPERAND...\n\n";
        for (const std::string& line : wrapped(app->get_description(), 0)) {
            text += line + '\n';
        }
        text += "\nCommands:\n";
        for (const CLI::App* command : app->get_subcommands({})) {
            std::string left = "  " + command->get_name();
            for (const CLI::Option* operands : command->get_options(
                     [](const CLI::Option* option) { return option->get_group() == "Operands"; })) {
                left += " " + operands->get_name();
            }
            text += entry(left, command->get_description(), kCommandColumn);
        }
        for (const std::string& group : app->get_groups()) {
            text += "\n" + group + ":\n";
            for (const CLI::Option* option : app->get_options(
                     [&group](const CLI::Option* o) { return o->get_group() == group; })) {
                text += entry(optionLeft(*option), option->get_description(), kOptionColumn);
            }
        }
        return text + "\n" + app->get_footer();
    }
};

// What the tool is.
constexpr std::string_view kIntro =
    "Reads the full names of TrueType (.ttf), OpenType (.otf), collection (.ttc, .otc: the "
    "first font's), Mac suitcase (.dfont: the first font's), web (.woff, .woff2: the wrapped "
    "font's) and Type 1 (.pfb, and .pfa and .t1 in text and Unix form) fonts, as the Quillvane "
    "window does, and lists or copies the fonts of a directory under those names, or lists "
    "their facts, or finds the copies among them. name, report, html, list and duplicates also "
    "take a folder's whole tree.";

// What the tool does of its own accord, and its exit statuses.
constexpr std::string_view kBehaviour =
    R"(Without --yes, copy asks its questions on the terminal; when standard input is not a terminal
they are answered No. Messages go to standard error; while a run works through a directory,
a terminal shows how many files are left. A folder of a tree that cannot be read is told on
standard error with its cause, and the walk goes on.

Exit status:
  0  name: every name was read; report: the report was printed; html: the files were
     created ("Created ..."); copy: every font was copied ("Finished."); list: every font's
     facts were read; duplicates: every file was read and none is a copy of another
  1  name: a name could not be read (its line holds "error: ..."); report: the font could
     not be reported (its failure is printed); list: a font could not be read (its row holds
     the error); duplicates: a file could not be read or compared (told on standard error
     and left out of every group; this wins over 4); name, report, list and duplicates with
     -r: a folder could not be read; html and copy: the run was refused (no fonts in DIR, DIR
     in the system font directory), stopped by a failure, or a question was answered No or
     Cancel
  2  the command line cannot be run: unknown command or option, missing or extra operand,
     a FILE or DIR that is missing or of the wrong kind
  3  html: both files were written, but fonts that could not be read are listed under
     their error text, or (with -r) a folder could not be read; copy: the run finished,
     but some fonts were left incomplete: a copy failed (a read-only file in the way) and
     the question whether to go on was answered Yes, a file could not be read, a .pfb had
     no .pfm, a companion could not be copied, or a new name was one of the fonts being
     copied (never replaced); standard error says how many
  4  duplicates: every file was read, and copies were found (the groups are printed;
     nothing was deleted, moved or renamed)
  130  html and copy: stopped by Ctrl+C after the font in hand (a second Ctrl+C ends the
       tool at once); html then leaves _fonts.html and _report.txt (and
       _specimens.html) as they were
)";

} // namespace

std::string helpText() {
    CommandLineGrammar grammar;
    CLI::App& app = grammar.app();
    app.description(std::string(kIntro));
    app.footer(std::string(kBehaviour));
    app.formatter(std::make_shared<HelpLayout>());
    return app.help();
}

std::string versionText() {
    return "quillvane-cli (Quillvane) " QUILLVANE_VERSION_TEXT "\n";
}

} // namespace cli
