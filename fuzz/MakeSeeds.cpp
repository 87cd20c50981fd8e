// Writes the starting corpus of every fuzz target: the writer-made seeds, and seeds taken from
// installed fonts.
//
//   quillvane_fuzz_seeds OUTPUT_DIR [FONT_DIR...]
//
// Each target gets OUTPUT_DIR/<target id>/. From a .ttf or .otf under a font directory the
// TrueType targets get a small font with the same table directory and only its `name` table (the
// rest of a font is never read, and small inputs keep the fuzzers fast), from a .ttc or .otc a
// collection of such fonts, one for each of its own, and the web-font targets that small font
// wrapped as WOFF and as WOFF2; from a .pfb the Type 1 targets get the
// start of the file that holds its header window; the HTML-line target gets each font's full
// name with its path.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "fontlist/FontTypes.h"
#include "fuzz/FuzzTargets.h"
#include "fuzz/WriterSeeds.h"
#include "support/CollectionWriter.h"
#include "support/TrueTypeWriter.h"
#include "support/Woff2Writer.h"
#include "support/WoffWriter.h"
#include "truetype/SfntLayout.h"
#include "type1/HeaderWindow.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::uint32_t bigEndianAt(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

namespace sfnt = truetype::sfnt;

// The font whose offset table lies at offsetTableAt (0 for a font file) cut down to its table
// directory (same tags, same order) and its `name` table; empty when the file holds no TrueType
// font there with a name table that lies within the file.
std::optional<std::string> nameTableOnly(const std::string& font, std::int64_t offsetTableAt = 0) {
    if (offsetTableAt < 0 ||
        font.size() < static_cast<std::size_t>(offsetTableAt + sfnt::OffsetTableLayout::size)) {
        return std::nullopt;
    }
    const std::uint32_t tables = bigEndianAt(
        font, static_cast<std::size_t>(offsetTableAt + sfnt::OffsetTableLayout::numTables), 2);
    if (font.size() < static_cast<std::size_t>(sfnt::tableRecordAt(offsetTableAt, tables))) {
        return std::nullopt;
    }
    testsupport::FontLayout layout;
    bool found = false;
    for (std::uint32_t i = 0; i < tables; ++i) {
        const auto entry = static_cast<std::size_t>(sfnt::tableRecordAt(offsetTableAt, i));
        testsupport::TableLayout table{
            font.substr(entry + sfnt::TableRecordLayout::tableTag, 4), {}, std::nullopt};
        if (table.tag == "name") {
            const std::uint32_t offset =
                bigEndianAt(font, entry + sfnt::TableRecordLayout::offset, 4);
            const std::uint32_t length =
                bigEndianAt(font, entry + sfnt::TableRecordLayout::length, 4);
            if (offset > font.size() || length > font.size() - offset) {
                return std::nullopt;
            }
            table.data = font.substr(offset, length);
            found = true;
        }
        layout.tables.push_back(std::move(table));
    }
    if (!found) {
        return std::nullopt;
    }
    return testsupport::trueTypeBytes(layout);
}

// A collection of the collection's fonts, each cut down as above; empty when the file is no
// collection or any of its fonts cannot be cut.
std::optional<std::string> collectionNameTablesOnly(const std::string& collection) {
    const auto offsetsAt = [](std::uint32_t i) {
        return static_cast<std::size_t>(sfnt::tableDirectoryOffsetAt(i));
    };
    if (collection.size() < offsetsAt(0) || !collection.starts_with("ttcf")) {
        return std::nullopt;
    }
    const std::uint32_t count = bigEndianAt(
        collection, static_cast<std::size_t>(sfnt::CollectionHeaderLayout::numFonts), 4);
    if (count == 0 || count > (collection.size() - offsetsAt(0)) / 4) {
        return std::nullopt;
    }
    testsupport::CollectionLayout layout;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::optional<std::string> font =
            nameTableOnly(collection, bigEndianAt(collection, offsetsAt(i), 4));
        if (!font) {
            return std::nullopt;
        }
        layout.fonts.push_back(std::move(*font));
    }
    return testsupport::fontCollection(layout);
}

struct Corpus {
    fs::path root;
    int written = 0;

    void add(std::string_view target, const std::string& name, const std::string& bytes) {
        writeFile(root / target / name, bytes);
        ++written;
    }
};

void addInstalledFonts(Corpus& corpus, const fs::path& directory) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error)) {
            continue;
        }
        const fs::path& path = it->path();
        const std::string extension = path.extension().string();
        const std::string stem = path.stem().string();
        const bool collection = extension == ".ttc" || extension == ".otc";
        if (extension == ".ttf" || extension == ".otf" || collection) {
            const std::string bytes = readFile(path);
            const std::optional<std::string> font =
                collection ? collectionNameTablesOnly(bytes) : nameTableOnly(bytes);
            if (!font) {
                continue;
            }
            const std::string name = collection ? fontlist::nameOf(path.string()).value().text()
                                                : fontlist::nameOf(path.string()).value().text();
            corpus.add("tt_name", stem, *font);
            corpus.add("tt_report", stem, *font);
            if (!collection) {
                corpus.add("woff", stem, testsupport::woffFont(*font));
                corpus.add("woff2", stem, testsupport::woff2Bytes({.sfnt = *font}));
            }
            corpus.add("html_line", stem, fuzzing::htmlLineInput(name, path.string()));
        } else if (extension == ".pfb") {
            // The header window ends at byte 3005; a little more lets mutations move it.
            const std::string start = readFile(path).substr(0, 3072);
            corpus.add("t1_name", stem, start);
            corpus.add("t1_report", stem, start);
            corpus.add("html_line", stem,
                       fuzzing::htmlLineInput(fontlist::nameOf(path.string()).value().text(),
                                              path.string()));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_DIR...]\n", argv[0]);
        return 2;
    }
    try {
        Corpus corpus{argv[1]};
        for (const fuzzing::Target& target : fuzzing::allTargets()) {
            fs::create_directories(corpus.root / target.id);
            for (const fuzzing::Seed& seed : fuzzing::writerSeeds(target.id)) {
                corpus.add(target.id, seed.name, seed.bytes);
            }
        }
        for (int i = 2; i < argc; ++i) {
            addInstalledFonts(corpus, argv[i]);
        }
        std::printf("%d seeds written to %s\n", corpus.written, argv[1]);
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
}
