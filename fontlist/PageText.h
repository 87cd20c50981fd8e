#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How texts and file names go into the specimen page, whatever bytes they hold.
namespace fontlist::page_text {

// Appends the text for an element's content or a quoted attribute's value: "&", "<", ">", the
// double and the single quote as character references; control characters other than tab and
// line breaks, and bytes that are no valid UTF-8, as U+FFFD, so that a file name in Latin-1
// still reads as a name.
void appendHtmlText(std::string& out, std::string_view text);

// Appends a relative URL that leads to the file of that name in the page's folder: "./", then
// every byte but ASCII letters, digits, "-", ".", "_" and "~" percent-encoded. It stands as it
// is in a quoted attribute and in a CSS string alike, and a name with ":" in it is never read
// as a scheme.
void appendFileUrl(std::string& out, std::string_view fileName);

// Appends a web address found in a font for a quoted attribute: spaces, control characters,
// quotes, "<", ">", "\" and bytes above 0x7F percent-encoded, "&" as a character reference.
void appendWebAddress(std::string& out, std::string_view address);

// Whether the text is an http or https address (the scheme without regard to case).
bool isWebAddress(std::string_view text);

// The text up to its count-th character: a UTF-8 sequence is never cut.
std::string_view firstCharacters(std::string_view text, std::size_t count);

// Appends the bytes in base64 (RFC 4648, padded).
void appendBase64(std::string& out, std::string_view bytes);

} // namespace fontlist::page_text
