// Writes the starting corpus of every fuzz target: the writer-made seeds, and seeds taken from
// installed fonts.
//
//   quillvane_fuzz_seeds OUTPUT_DIR [FONT_DIR...]
//
// Each target gets OUTPUT_DIR/<target id>/. From a .ttf under a font directory the TrueType
// targets get a small font with the same table directory and only its `name` table (the rest
// of a font is never read, and small inputs keep the fuzzers fast); from a .pfb the Type 1
// targets get the start of the file that holds its header window; the HTML-line target gets
// each font's full name with its path.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/FuzzTargets.h"
#include "fuzz/WriterSeeds.h"
#include "support/TrueTypeWriter.h"
#include "truetype/NameTableReader.h"
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

// The font cut down to its table directory (same tags, same order) and its `name` table; empty
// when the file is no TrueType font with a name table that lies within it.
std::optional<std::string> nameTableOnly(const std::string& font) {
    namespace sfnt = truetype::sfnt;
    constexpr std::int64_t offsetTableAt = 0;
    if (font.size() < std::size_t{sfnt::OffsetTable::size}) {
        return std::nullopt;
    }
    const std::uint32_t tables = bigEndianAt(font, sfnt::OffsetTable::numTables, 2);
    if (font.size() < static_cast<std::size_t>(sfnt::tableRecordAt(offsetTableAt, tables))) {
        return std::nullopt;
    }
    testsupport::FontLayout layout;
    bool found = false;
    for (std::uint32_t i = 0; i < tables; ++i) {
        const auto entry = static_cast<std::size_t>(sfnt::tableRecordAt(offsetTableAt, i));
        testsupport::TableLayout table{
            font.substr(entry + sfnt::TableRecord::tableTag, 4), {}, std::nullopt};
        if (table.tag == "name") {
            const std::uint32_t offset = bigEndianAt(font, entry + sfnt::TableRecord::offset, 4);
            const std::uint32_t length = bigEndianAt(font, entry + sfnt::TableRecord::length, 4);
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
        if (extension == ".ttf") {
            const std::optional<std::string> font = nameTableOnly(readFile(path));
            if (!font) {
                continue;
            }
            corpus.add("tt_name", stem, *font);
            corpus.add("tt_report", stem, *font);
            corpus.add("html_line", stem,
                       fuzzing::htmlLineInput(truetype::TTEnglishName(path.string()).text(),
                                              path.string()));
        } else if (extension == ".pfb") {
            // The header window ends at byte 3005; a little more lets mutations move it.
            const std::string start = readFile(path).substr(0, 3072);
            corpus.add("t1_name", stem, start);
            corpus.add("t1_report", stem, start);
            corpus.add("html_line", stem,
                       fuzzing::htmlLineInput(type1::T1Name(path.string()).text(), path.string()));
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
