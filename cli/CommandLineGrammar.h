#pragma once

#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cli {

// The options the tool knows, in the order the help lists them.
enum class OptionId {
    Recursive,
    Follow,
    OneFileSystem,
    Filter,
    Spaces,
    Yes,
    LineFeeds,
    Samples,
    SampleText,
    Sizes,
    Format,
    Readable,
    Help,
    Version,
};
inline constexpr std::size_t kOptionCount = static_cast<std::size_t>(OptionId::Version) + 1;

// A set of commands, one bit per command.
using CommandSet = unsigned;
constexpr CommandSet commandBit(Command command) {
    return 1U << static_cast<unsigned>(command);
}

struct CommandDeclaration {
    Command command;
    const char* name;
    const char* operands; // as the help shows them, "FILE..."
    const char* description;
};

struct OptionDeclaration {
    OptionId id;
    const char* names;   // CLI11's spelling: "-r,--recursive"
    const char* value;   // what its value may be, as the help shows it; empty for a flag
    CommandSet commands; // where it applies; help and version apply everywhere
    // With the commands of needsFor, the option is refused unless `needs` is given too.
    OptionId needs;
    CommandSet needsFor;
    const char* description;
};

// The commands in the order the help lists them.
std::span<const CommandDeclaration> commandDeclarations();

// The options, in the order of OptionId.
std::span<const OptionDeclaration> optionDeclarations();

const OptionDeclaration& declarationOf(OptionId id);

// The tool's command line as CLI11 reads it: every command a subcommand that takes its
// operands, every option declared once at the top, so that it may stand before or after the
// command and its operands. Unknown options and commands are kept, not refused: the parser
// words its own messages.
class CommandLineGrammar {
public:
    CommandLineGrammar();
    CommandLineGrammar(const CommandLineGrammar&) = delete;
    CommandLineGrammar& operator=(const CommandLineGrammar&) = delete;

    // Reads the arguments (without "--" and what follows it); throws CLI11's errors.
    void parse(std::vector<std::string> arguments);

    CLI::App& app() { return app_; }
    const CLI::Option& option(OptionId id) const;
    bool given(OptionId id) const { return option(id).count() > 0; }
    // The last value given to an option that takes one.
    const std::string& value(OptionId id) const { return option(id).results().back(); }

    // The command named, if one was.
    std::optional<Command> command() const;
    // The operands that followed the command (before any "--").
    std::vector<std::string> operands() const;
    // What nothing took: unknown options, and words that stood before the command.
    std::vector<std::string> leftOver() const { return app_.remaining(); }

private:
    CLI::App app_;
    std::array<CLI::Option*, kOptionCount> options_{};
    std::array<CLI::Option*, 8> operands_{}; // by Command
};

// The declaration of the command called name, or nullptr.
const CommandDeclaration* commandCalled(const std::string& name);

} // namespace cli
