#include "fontlist/ValidFileName.h"

namespace fontlist {

namespace {

bool forbiddenInFileName(char c) {
    switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|': return true;
    default: return false;
    }
}

} // namespace

std::string ValidFileName(std::string_view inputfilename, SpacesOption option) {
    std::string result;
    result.reserve(inputfilename.size());
    for (char c : inputfilename) {
        if (c == ' ') {
            if (option == SpacesOption::Remove) {
                continue;
            }
            if (option == SpacesOption::ReplaceWithHyphen) {
                c = '-';
            }
        }
        // A NUL (which a Type 1 header can hold between its parentheses) would cut the path
        // short at that point, so every file made from the name would land on one truncated
        // name; no system allows it in a file name.
        if (forbiddenInFileName(c) || c == '.' || c == '\0') {
            continue;
        }
        result += c;
    }
    return result;
}

} // namespace fontlist
