#include "fuzz/Properties.h"

#include <string>

#include "text/Utf8.h"

namespace fuzzing {

void violated(std::string_view property) {
    throw PropertyViolation("property violated: " + std::string(property));
}

void requireFailureText(std::string_view reportText, std::string_view path) {
    const std::string failedEnd =
        " error encountered while reading font: \r\n" + std::string(path) + "\r\n";
    require(reportText.find(failedEnd) != std::string_view::npos,
            "a report that did not finish shows the failure text");
}

bool isValidUtf8(std::string_view text) {
    return text::utf8::isValid(text);
}

} // namespace fuzzing
