#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One row of the list of facts (one font of a file), and the formats it is written in.
namespace fontlist {

enum class FactsFormat { Tsv, Csv, Json };

// The columns, in order, by the names the header and the JSON keys give them.
inline constexpr std::array<std::string_view, 15> kFactsColumns{
    "path",    "type",         "index",    "full_name",  "family",      "style",  "postscript_name",
    "version", "manufacturer", "designer", "vendor_url", "licence_url", "notice", "size",
    "error"};

// The places of the columns a row gives as numbers, and of the path.
inline constexpr std::size_t kPathColumn = 0;
inline constexpr std::size_t kIndexColumn = 2;
inline constexpr std::size_t kSizeColumn = 13;

struct FactsRow {
    // Each column's text (the path the system's bytes, the rest valid UTF-8), empty where
    // unknown; the places of the number columns are not read.
    std::array<std::string_view, kFactsColumns.size()> texts{};
    std::optional<std::uint64_t> index{}; // of the font in its file
    std::optional<std::uint64_t> size{};  // of the file, in bytes
};

// Appends the header line of the format (none for JSON Lines) to out.
void appendFactsHeader(std::string& out, FactsFormat format);

// Appends the row as one line of the format, its line end included: TSV with a backslash,
// tab, LF and CR in a field written "\\", "\t", "\n" and "\r"; CSV as RFC 4180 (CR LF line ends,
// a field holding a comma, a quote, CR or LF quoted, its quotes doubled); JSON Lines, one object
// with every column, "" for an empty text and null for an unknown number, the path's bytes that
// are not UTF-8 written as U+FFFD and the exact bytes added as "path_bytes" in base64.
void appendFactsRow(std::string& out, FactsFormat format, const FactsRow& row);

// The same for each format.
void appendTsvRow(std::string& out, const FactsRow& row);
void appendCsvRow(std::string& out, const FactsRow& row);
void appendJsonRow(std::string& out, const FactsRow& row);

// The decimal digits of a number, or nothing, for the text formats.
void appendNumber(std::string& out, const std::optional<std::uint64_t>& number);

} // namespace fontlist
