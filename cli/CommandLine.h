#pragma once

#include "fontcore/NameDecoding.h"
#include "fontlist/DuplicatesOutput.h"
#include "fontlist/FontTypes.h"
#include "fontlist/SamplesOptions.h"
#include "fontlist/SpacesOption.h"
#include "platform/FolderWalk.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cli {

enum class Command { Help, Version, Name, Report, Html, Copy, List, Duplicates };

// How list writes its rows: tab-separated (the default), RFC 4180 CSV, or JSON Lines.
enum class ListFormat { Tsv, Csv, Json };

// What the command line asks for. Options that a command does not take are refused while
// parsing, so every field here applies to the command.
struct Request {
    Command command = Command::Help;
    std::vector<std::string> operands;                                // files or the directory
    fontlist::SpacesOption spaces = fontlist::SpacesOption::NoChange; // html, copy
    // html, copy: the file list's type filter, the window's first one unless --filter says;
    // list and duplicates, and name and report with --recursive: every type the program reads
    // ("all") unless --filter says
    std::string pattern = fontlist::typeFilters().front().patterns;
    bool lineFeeds = false; // report: CR LF written as LF
    bool assumeYes = false; // copy: every question answered Yes
    // name, report, html, copy: --readable (or --unicode) chooses and reads sfnt names for
    // people, in no language of the user's until the tool gives it one
    fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise;
    // html: --samples, with --sample-text and --sizes, asks for the specimen page (its drawer
    // is the tool's to give)
    std::optional<fontlist::SamplesOptions> specimens{};
    // name, report, html, list, duplicates: -r/--recursive walks the sub-folders of each DIR
    // operand
    bool recursive = false;
    // with --recursive: --follow walks links to folders, --one-file-system stays on the
    // starting file system
    platform::WalkOptions walk{};
    ListFormat format = ListFormat::Tsv; // list: --format tsv|csv|json
    // duplicates: --format text|tsv|json
    fontlist::DuplicatesFormat duplicatesFormat = fontlist::DuplicatesFormat::Text;
};

// The file patterns of the type filter by its name on the command line ("both", "ttf", "pfb"),
// exactly as the window's type filter gives them; empty for an unknown name.
std::string patternOfFilter(const std::string& name);

// Parses the arguments after the program name. Options may stand before or after the command
// and its operands and take their value as the next argument (whatever it looks like) or after
// "="; "--" ends the options. "-h"/"--help" and "-V"/"--version" win over everything else on
// the line (the first of them given). Throws UsageError.
Request parseCommandLine(std::span<const std::string> arguments);

} // namespace cli
