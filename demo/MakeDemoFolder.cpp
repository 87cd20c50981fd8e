// Writes a folder of sample fonts made with the project's own font writers, so that a newcomer
// who starts Quillvane without naming a directory sees reports at once. The fonts have no
// glyphs: they carry only what Quillvane reads.
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/TrueTypeWriter.h"
#include "support/Woff2Writer.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

namespace {

using testsupport::NameRecordLayout;
using testsupport::NameTableLayout;
using testsupport::utf16be;

void write(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// One record with the writer's defaults for its length and offset.
NameRecordLayout record(std::uint16_t platform, std::uint16_t encoding, std::uint16_t language,
                        std::uint16_t nameId, std::string bytes) {
    NameRecordLayout layout;
    layout.platform = platform;
    layout.encoding = encoding;
    layout.language = language;
    layout.nameId = nameId;
    layout.bytes = std::move(bytes);
    return layout;
}

// A TrueType font with the usual records on the Macintosh and Windows platforms, and the full
// name again in the given extra Windows languages.
std::string
trueType(std::u16string_view family, std::u16string_view style,
         std::initializer_list<std::pair<std::uint16_t, std::u16string_view>> localised = {}) {
    const std::u16string full = std::u16string(family) + u" " + std::u16string(style);
    std::string macFull;
    for (const char16_t c : full) {
        macFull += static_cast<char>(c);
    }
    NameTableLayout names;
    names.records = {
        record(1, 0, 0, 1, macFull.substr(0, family.size())),
        record(1, 0, 0, 4, macFull),
        record(3, 1, 0x0409, 0, utf16be(u"Copyright (c) 2026 The Quillvane developers")),
        record(3, 1, 0x0409, 1, utf16be(family)),
        record(3, 1, 0x0409, 2, utf16be(style)),
        record(3, 1, 0x0409, 4, utf16be(full)),
        record(3, 1, 0x0409, 5, utf16be(u"Version 1.100")),
        record(3, 1, 0x0409, 13, utf16be(u"Sample font for trying Quillvane; it has no glyphs.")),
    };
    for (const auto& [language, name] : localised) {
        names.records.push_back(record(3, 1, language, 4, utf16be(name)));
    }
    return testsupport::trueTypeFont(names);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        write(folder / "qvs_r.ttf", trueType(u"Quillvane Sans", u"Regular"));
        write(folder / "qvs_b.ttf",
              trueType(u"Quillvane Sans", u"Bold", {{0x0407, u"Quillvane Sans Fett"}}));
        write(folder / "QVSERIF.TTF", trueType(u"Quillvane Serif", u"Italic",
                                               {{0x040c, u"Quillvane Serif Italique"},
                                                {0x0c0c, u"Quillvane Serif Italique"}}));
        // The first file of the list, shown at start: its full name in several languages.
        write(folder / "f00123.ttf", trueType(u"Caf\u00E9 Display", u"Light",
                                              {{0x0407, u"Caf\u00E9 Display Leicht"},
                                               {0x040c, u"Caf\u00E9 Display L\u00E9ger"},
                                               {0x0c0a, u"Caf\u00E9 Display Ligera"},
                                               {0x0410, u"Caf\u00E9 Display Chiaro"}}));
        // The other formats, listed under the type filter's later entries: an OpenType font and
        // a collection of two fonts, whose report shows both.
        write(folder / "qvmono.otf",
              testsupport::openTypeFont(trueType(u"Quillvane Mono", u"Regular")));
        testsupport::CollectionLayout family;
        family.fonts = {trueType(u"Quillvane Text", u"Regular"),
                        trueType(u"Quillvane Text", u"Bold")};
        write(folder / "qvtext.ttc", testsupport::fontCollection(family));
        // A web font: the sfnt it wraps, brotli-compressed.
        write(folder / "qvweb.woff2",
              testsupport::woff2Bytes({.sfnt = trueType(u"Quillvane Web", u"Regular")}));
        // How an unreadable font looks; named to come last in the list.
        write(folder / "unreadable.ttf",
              "This file carries a font's extension but holds no font.\n");

        const std::string clear = testsupport::typicalClearText(
            "Quillvane Courier Bold", "Quillvane Courier", "Bold", "002.004");
        write(folder / "qvcb____.pfb", testsupport::pfbFont(clear));
        write(folder / "qvcb____.pfm", std::string(117, '\0'));
        write(folder / "qvcb____.afm",
              "StartFontMetrics 2.0\nFontName QuillvaneCourier-Bold\nFullName Quillvane Courier "
              "Bold\nEndFontMetrics\n");
        const std::string text = testsupport::typicalClearText(
            "Quillvane Script", "Quillvane Script", "Regular", "001.001", "\n");
        write(folder / "qvscript.pfa", testsupport::pfaFont(text));
        write(folder / "qvscript.afm",
              "StartFontMetrics 2.0\nFontName QuillvaneScript\nFullName Quillvane "
              "Script\nEndFontMetrics\n");
        write(folder / "readme.txt", "Sample fonts for Quillvane, written by its build.\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
