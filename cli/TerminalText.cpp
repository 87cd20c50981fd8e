#include "cli/TerminalText.h"

namespace cli {

std::string terminalText(std::string_view text, LineBreaks lineBreaks) {
    std::string out;
    out.reserve(text.size());
    text::appendEscapingControls(out, text, lineBreaks, text::InvalidBytes::Escaped);
    return out;
}

} // namespace cli
