#pragma once

#include <stdexcept>
#include <string_view>

// What the fuzz targets check of every result, beyond "it did not crash".
namespace fuzzing {

// A property that did not hold: a finding, just like a crash.
class PropertyViolation : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Raises PropertyViolation with the text of a property that does not hold.
[[noreturn]] void violated(std::string_view property);

// Raises PropertyViolation with the text when the property does not hold.
inline void require(bool holds, std::string_view property) {
    if (!holds) {
        violated(property);
    }
}

// A report that did not finish shows the failure text, which names the file on a line of its
// own after the failure's description.
void requireFailureText(std::string_view reportText, std::string_view path);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool isValidUtf8(std::string_view text);

} // namespace fuzzing
