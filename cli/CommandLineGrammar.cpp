#include "cli/CommandLineGrammar.h"

#include <algorithm>
#include <map>
#include <utility>

namespace cli {

namespace {

constexpr CommandSet kName = commandBit(Command::Name);
constexpr CommandSet kReport = commandBit(Command::Report);
constexpr CommandSet kHtml = commandBit(Command::Html);
constexpr CommandSet kCopy = commandBit(Command::Copy);
constexpr CommandSet kList = commandBit(Command::List);
constexpr CommandSet kDuplicates = commandBit(Command::Duplicates);
constexpr CommandSet kTrees = kName | kReport | kHtml | kList | kDuplicates;
constexpr CommandSet kReading = kName | kReport | kHtml | kCopy | kList | kDuplicates;
constexpr CommandSet kEvery = ~0U;

constexpr CommandDeclaration kCommands[] = {
    {Command::Name, "name", "FILE...",
     "print each file's full name, a tab and the file's path; on a terminal, control "
     "characters are shown escaped, as \\x1b for ESC. With -r the operands may also be "
     "folders: each font file of a DIR's tree gets its line, its path DIR/sub/file.ttf"},
    {Command::Report, "report", "FILE",
     "print the naming data of a font file, as the window's details pane shows it; lines end "
     "in CR LF, or in LF with --lf. With -r the operand is a DIR: the report of each font "
     "file of its tree follows a line \"==> PATH <==\" and ends with an empty line"},
    {Command::Html, "html", "DIR",
     "write DIR/_fonts.html, every font by name linked to its file, and DIR/_report.txt, the "
     "files whose new names would collide (and DIR/_specimens.html with --samples). With -r, "
     "one page and one report at DIR over every font of its tree, sorted across the tree, "
     "each linked by its path below DIR"},
    {Command::Copy, "copy", "DIR",
     "copy every font of DIR into DIR/friendly under a file name made from its full name; a "
     "Type 1 font takes its .pfm, .afm, .inf and .mmm files along. The fonts in DIR are "
     "never changed. Copy works on one folder at a time and refuses -r: one friendly folder "
     "for a whole tree would put many fonts on one name"},
    {Command::List, "list", "DIR",
     "print the facts of every font of DIR (of its tree with -r), one row per font, each font "
     "of a collection or suitcase its own row with its index: path, type, index, full_name, "
     "family, style, postscript_name, version, manufacturer, designer, vendor_url, "
     "licence_url, notice, size (in bytes) and error (why a font could not be read; its "
     "other facts then stay empty, as do those a type lacks)"},
    {Command::Duplicates, "duplicates", "DIR",
     "print the groups of font files of DIR (of its tree with -r) that are copies of one "
     "another, in three tiers: 1 same bytes (hard links to one file count as one file), 2 the "
     "same font (PostScript name and version) in other bytes, 3 other versions of the same "
     "family and style, the newest marked (by the head table's fontRevision, then by the "
     "version text number by number). Each group names the copy to keep and why: the newest "
     "version, then the one with the most companions, then the one in the shallowest folder, "
     "then "
     "the first in list order. Nothing is deleted, moved or renamed"},
    {Command::Help, "help", "", "show this help"},
};

constexpr OptionId kNone = OptionId::Version; // with needsFor 0: needs nothing

constexpr OptionDeclaration kOptions[] = {
    {OptionId::Recursive, "-r,--recursive", "", kTrees, kNone, 0,
     "walk the tree below each DIR: depth first, a folder's font files, then its "
     "sub-folders, both in the order of the file list (without regard to case); hidden "
     "folders are left out, and links to folders are not followed"},
    {OptionId::Follow, "--follow", "", kTrees, OptionId::Recursive, kTrees,
     "(with -r) walk links to folders too; a link that leads back to a folder already "
     "walked, as a loop does, is told once and not walked again"},
    {OptionId::OneFileSystem, "--one-file-system", "", kTrees, OptionId::Recursive, kTrees,
     "(with -r) stay on the file system of DIR: folders mounted below it are left out"},
    {OptionId::Filter, "--filter", "both|ttf|pfb|otf|ttc|woff|pfa|dfont|all", kReading,
     OptionId::Recursive, kName | kReport,
     "the files taken: *.ttf and *.pfb (the default of html and copy), *.ttf, *.pfb, *.otf, "
     "the collections *.ttc and *.otc, the web fonts *.woff and *.woff2, *.pfa and *.t1, the "
     "suitcases *.dfont, or all ten (the default of list and duplicates, and of name and "
     "report, which take it with -r), matched without regard to case"},
    {OptionId::Spaces, "--spaces", "keep|dash|remove", kHtml | kCopy, kNone, 0,
     "spaces of the full names in the new names: kept (the default), replaced with \"-\", or "
     "removed"},
    {OptionId::Yes, "-y,--yes", "", kCopy, kNone, 0, "answer Yes to every question"},
    {OptionId::LineFeeds, "--lf", "", kReport, kNone, 0, "end the lines in LF, not CR LF"},
    {OptionId::Samples, "--samples", "", kHtml, kNone, 0,
     "also write DIR/_specimens.html: every font in its own face, its name, a sample at each "
     "size and its facts (version, designer, licence, ...); the three files are replaced "
     "together"},
    {OptionId::SampleText, "--sample-text", "TEXT", kHtml, OptionId::Samples, kHtml,
     "(with --samples) the sample of every font; by default each font shows a text in the "
     "script it covers"},
    {OptionId::Sizes, "--sizes", "12,18,24,36", kHtml, OptionId::Samples, kHtml,
     "(with --samples) the samples' sizes in pixels: 1 to 8 whole numbers from 6 to 300"},
    {OptionId::Format, "--format", "text|tsv|csv|json", kList | kDuplicates, kNone, 0,
     "list: tsv (the default), csv or json; duplicates: text (the default), tsv or json. "
     "text: for people, a heading per group, then a line per file. tsv: a header line, then "
     "a line per font (per file for duplicates), its fields separated by tabs, a tab, line "
     "feed, carriage return or backslash in a field written as \\t, \\n, \\r or \\\\ (so in "
     "text too); duplicates end the line with the file's other names (hard links), a field "
     "each. csv: RFC 4180, a header line, fields in double quotes where needed. json: JSON "
     "Lines, one object per font (per group for duplicates). A path is written as its bytes "
     "in text, tsv and csv; json writes a path that is not UTF-8 with U+FFFD for its stray "
     "bytes, and adds path_bytes, the exact bytes in base64"},
    {OptionId::Readable, "--readable,--unicode", "", kReading, kNone, 0,
     "readable names of the sfnt fonts (all but Type 1): the full name in the user's "
     "language (LC_ALL, LC_MESSAGES or LANG) where the font has it, else in US English, else "
     "in any English, else the record chosen without the option; Windows and Unicode names "
     "read as UTF-16, Macintosh Roman ones as Mac Roman; the names, the report, the page, its "
     "report, the list, the names duplicates compares and the new file names show the "
     "fonts' own letters, and the report names languages and the later name IDs. Without it "
     "each byte of a name is one Windows-1252 character, as stored pages and scripts expect: "
     "a Cyrillic or Chinese name comes out as unreadable Latin letters"},
    {OptionId::Help, "-h,--help", "", kEvery, kNone, 0, "show this help and exit"},
    {OptionId::Version, "-V,--version", "", kEvery, kNone, 0, "show the version and exit"},
};

static_assert(std::size(kOptions) == kOptionCount);

// "Options of html and copy", as the help heads the options of these commands.
std::string headingOf(CommandSet commands, std::size_t count) {
    if (commands == kEvery) {
        return "Other options";
    }
    std::vector<std::string> names;
    for (const CommandDeclaration& command : kCommands) {
        if ((commands & commandBit(command.command)) != 0) {
            names.emplace_back(command.name);
        }
    }
    std::string heading = count == 1 ? "Option of " : "Options of ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        heading += (i == 0 ? "" : i + 1 < names.size() ? ", " : " and ") + names[i];
    }
    return heading;
}

} // namespace

std::span<const CommandDeclaration> commandDeclarations() {
    return kCommands;
}

std::span<const OptionDeclaration> optionDeclarations() {
    return kOptions;
}

const OptionDeclaration& declarationOf(OptionId id) {
    return kOptions[static_cast<std::size_t>(id)];
}

const CommandDeclaration* commandCalled(const std::string& name) {
    const auto found = std::ranges::find_if(
        kCommands, [&name](const CommandDeclaration& command) { return name == command.name; });
    return found == std::end(kCommands) ? nullptr : found;
}

CommandLineGrammar::CommandLineGrammar() : app_("", "quillvane-cli") {
    // "/x" is a path on every system, never an option (CLI11 would take it for one on Windows)
    app_.allow_windows_style_options(false);
    app_.set_help_flag();          // -h and --help are the tool's own, listed with the others
    app_.allow_extras();           // unknown options are the parser's to tell
    app_.require_subcommand(0, 1); // a second command's name is an operand of the first
    std::map<CommandSet, std::size_t> perHeading;
    for (const OptionDeclaration& declaration : kOptions) {
        ++perHeading[declaration.commands];
    }
    for (const OptionDeclaration& declaration : kOptions) {
        CLI::Option* option = nullptr;
        if (*declaration.value == '\0') {
            option = app_.add_flag(declaration.names, declaration.description);
        } else {
            option = app_.add_option(declaration.names, declaration.description)
                         ->type_name(declaration.value)
                         ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        }
        option->group(headingOf(declaration.commands, perHeading[declaration.commands]));
        options_[static_cast<std::size_t>(declaration.id)] = option;
    }
    for (const CommandDeclaration& declaration : kCommands) {
        CLI::App* command = app_.add_subcommand(declaration.name, declaration.description);
        command->fallthrough(); // its options are the top's
        command->allow_extras();
        // help takes (and ignores) words after it, without showing them
        const bool shown = *declaration.operands != '\0';
        CLI::Option* operands = command->add_option(shown ? declaration.operands : "WORD");
        // as many as are given; the parser counts them
        operands->expected(1, CLI::detail::expected_max_vector_size)->allow_extra_args();
        operands->group(shown ? "Operands" : "");
        operands_.at(static_cast<std::size_t>(declaration.command)) = operands;
    }
}

void CommandLineGrammar::parse(std::vector<std::string> arguments) {
    std::ranges::reverse(arguments); // CLI11 takes them from the back
    app_.parse(arguments);
}

const CLI::Option& CommandLineGrammar::option(OptionId id) const {
    return *options_[static_cast<std::size_t>(id)];
}

std::optional<Command> CommandLineGrammar::command() const {
    for (const CommandDeclaration& declaration : kCommands) {
        if (app_.got_subcommand(declaration.name)) {
            return declaration.command;
        }
    }
    return std::nullopt;
}

std::vector<std::string> CommandLineGrammar::operands() const {
    const std::optional<Command> named = command();
    if (!named) {
        return {};
    }
    return operands_.at(static_cast<std::size_t>(*named))->results();
}

} // namespace cli
