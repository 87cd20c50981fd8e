#pragma once

#include "fontcore/FontReport.h"
#include "fontcore/FullName.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/FontFileReader.h"

#include <cstdint>
#include <optional>
#include <string>

// The one way a lookup and a report open the font file they read. The reader closes the file
// when it goes, on every path.
namespace fontcore {

// The name that readName(platform::FontFileReader&) gives over the file at path, opened for it
// (never created); a failure to open it is the name's failure. Never throws.
template <typename NameReader>
FullName nameOfFontFile(const std::string& path, NameReader&& readName) {
    try {
        platform::FontFileReader font(path);
        return readName(font);
    } catch (...) {
        return {.failure = platform::currentFailure()};
    }
}

// A file's length as a lookup read it from the descriptor it opened, or the failure of
// opening the file.
struct FileLength {
    std::uint64_t bytes = 0;
    std::optional<platform::Failure> failure{};
};

// The same as nameOfFontFile, also giving the file's length from the open file, so that whoever
// needs both opens the file once and makes no call of its own for the length.
template <typename NameReader>
FullName nameOfFontFile(const platform::ListedFile& file, NameReader&& readName,
                        FileLength& length) {
    constexpr std::uint64_t kNotOpened = UINT64_MAX;
    std::uint64_t seen = kNotOpened; // set once the file is open, whatever it turns out to be
    try {
        platform::FontFileReader font(file, &seen);
        length = {.bytes = seen};
        return readName(font);
    } catch (...) {
        FullName failed{.failure = platform::currentFailure()};
        // A named pipe or a directory with a font's name is refused once open, its length known.
        length =
            seen != kNotOpened ? FileLength{.bytes = seen} : FileLength{.failure = failed.failure};
        return failed;
    }
}

// The report that makeReport(platform::FontFileReader&, fontPath) gives over the file at fontPath;
// any failure gives the failure text. Never throws.
template <typename ReportReader>
FontReport reportOfFontFile(const std::string& fontPath, ReportReader&& makeReport) {
    try {
        // The existence test comes first, so that a file that has gone since the list was read
        // gives its own text and has the list read again.
        platform::fs::fileAttributes(fontPath);
        platform::FontFileReader font(fontPath);
        return makeReport(font, fontPath);
    } catch (...) {
        return failedFontReport(platform::currentFailure(), fontPath);
    }
}

// The same for a file of a directory held open, opened relative to it; its path is only shown.
template <typename ReportReader>
FontReport reportOfFontFile(const platform::ListedFile& file, ReportReader&& makeReport) {
    try {
        platform::FontFileReader font(file, nullptr);
        return makeReport(font, file.path);
    } catch (...) {
        return failedFontReport(platform::currentFailure(), file.path);
    }
}

} // namespace fontcore
