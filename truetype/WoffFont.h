#pragma once

#include "platform/FontFileReader.h"

#include <cstdint>
#include <vector>

namespace truetype {

// Inside the TrueType readers: the sfnt a WOFF file (.woff) wraps, as far as the name lookup
// and the report need it. Only the `name` table is taken out, inflated when it is stored
// compressed, and put in a minimal sfnt of its own: an offset table with the WOFF's flavor and
// one directory entry, then the table. A WOFF without a `name` table gives an sfnt with an
// empty directory, which the lookup fails on as it fails on any font without that table.
//
// The header and the whole table directory are checked against the file before anything is
// inflated: a signature other than "wOFF", a declared length other than the file's, a
// directory or table that runs past the end, a table whose compressed length exceeds its
// original one, a declared sfnt larger than 256 MiB or too small for a table it lists, a `name`
// table declared larger than 1 MiB (no other table is ever inflated), and a
// compressed `name` table that fails to inflate or inflates to another length than declared,
// all fail with "Overflow". What is allocated is bounded by the declared sizes, and the
// declared sizes by the file's own.
std::vector<std::uint8_t> woffSfnt(platform::FontFileReader& file);

} // namespace truetype
