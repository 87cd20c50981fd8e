#include "cli/ConsoleText.h"

#include "text/Text.h"
#include "text/Utf8.h"

namespace cli {

std::string lineFeedsOnly(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue; // the LF that follows stands for both
        }
        result += text[i];
    }
    return result;
}

std::string messageText(const fontlist::UserMessage& message) {
    std::string line = message.title;
    switch (message.icon) {
    case fontlist::MessageIcon::None: break;
    case fontlist::MessageIcon::Warning: line += " (warning)"; break;
    case fontlist::MessageIcon::Critical: line += " (error)"; break;
    }
    line += ": ";
    line += lineFeedsOnly(message.text);
    if (line.empty() || line.back() != '\n') {
        line += '\n';
    }
    return line;
}

std::string progressLine(std::string_view progress) {
    return "quillvane-cli: " + text::trimSpaces(progress);
}

std::size_t completeUtf8Length(std::string_view text) {
    // A sequence is at most four bytes long: only the last three can belong to one that is
    // not complete.
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if (text::utf8::isContinuation(byte)) {
            continue; // its lead byte lies further back
        }
        // A byte that starts nothing counts as whole.
        return text::utf8::announcedLength(byte) > back ? size - back : size;
    }
    return size;
}

} // namespace cli
