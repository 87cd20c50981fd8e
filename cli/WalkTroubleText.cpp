#include "cli/WalkTroubleText.h"

#include "cli/TerminalText.h"

#include <ostream>
#include <string>

namespace cli {

void tellWalkTrouble(const platform::WalkTrouble& trouble, Console& console) {
    const std::string text = trouble.lost
                                 ? "cannot read folder '" + trouble.path + "': " + trouble.cause
                                 : "'" + trouble.path + "' " + trouble.cause;
    console.err << "quillvane-cli: "
                << (console.errorIsTerminal ? terminalText(text, LineBreaks::Escaped) : text)
                << '\n';
}

} // namespace cli
