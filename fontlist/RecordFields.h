#pragma once

#include <string>
#include <string_view>

// How texts that may hold any bytes (paths above all) go into records of one line each: the
// list of facts and the duplicate groups write them alike.
namespace fontlist {

// Appends the text as a field of a tab-separated line: a backslash, tab, LF and CR written
// "\\", "\t", "\n" and "\r", every other byte as it is.
void appendTsvField(std::string& out, std::string_view text);

// Makes out the text with U+FFFD for each byte that begins no valid UTF-8 sequence.
void assignReadable(std::string& out, std::string_view text);

} // namespace fontlist
