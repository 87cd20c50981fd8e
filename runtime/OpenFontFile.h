#pragma once

#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/FontFileReader.h"
#include "runtime/FontReport.h"
#include "runtime/FullName.h"

#include <string>

// The one way a lookup and a report open the font file they read. The reader closes the file
// when it goes, on every path.
namespace runtime {

// The name that readName(FontFileReader&) gives over the file at path, opened for it (never
// created); a failure to open it is the name's failure. Never throws.
template <typename NameReader>
FullName nameOfFontFile(const std::string& path, NameReader&& readName) {
    try {
        FontFileReader font(path);
        return readName(font);
    } catch (...) {
        return {.failure = currentFailure()};
    }
}

// The report that makeReport(FontFileReader&, fontPath) gives over the file at fontPath; any
// failure gives the failure text. Never throws.
template <typename ReportReader>
FontReport reportOfFontFile(const std::string& fontPath, ReportReader&& makeReport) {
    try {
        // The existence test comes first, so that a file that has gone since the list was read
        // gives its own text and has the list read again.
        fs::fileAttributes(fontPath);
        FontFileReader font(fontPath);
        return makeReport(font, fontPath);
    } catch (...) {
        return failedFontReport(currentFailure(), fontPath);
    }
}

} // namespace runtime
