#pragma once

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// Debian's Python with fontTools, run as a peer that reads the same files as the code under
// test (the fixtures' paths never hold a single quote).
namespace testsupport {

// Whether /usr/bin/python3 imports the modules ("fontTools, brotli").
inline bool pythonHas(const std::string& modules) {
    return std::system(("/usr/bin/python3 -c 'import " + modules + "' 2>/dev/null").c_str()) == 0;
}

// What /usr/bin/python3 prints for the code run with the arguments (each quoted); none when it
// cannot start or exits with a failure.
inline std::optional<std::string> pythonOutput(const std::string& code,
                                               std::initializer_list<std::string> arguments) {
    std::string command = "/usr/bin/python3 -c '" + code + "'";
    for (const std::string& argument : arguments) {
        command += " '";
        command += argument;
        command += "'";
    }
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string output;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        output += static_cast<char>(c);
    }
    return pclose(pipe) == 0 ? std::optional<std::string>(output) : std::nullopt;
}

// The bytes in lower-case hexadecimal, as Python's bytes.hex() writes them.
inline std::string hex(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
        out += digits;
    }
    return out;
}

} // namespace testsupport
