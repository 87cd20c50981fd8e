// Makes the web-font corpus of bench/compare --web-fonts from a directory of TrueType fonts:
// every distinct .ttf of SOURCE_DIR (hard links count once) written as WOFF and as WOFF2 by
// the project's own writers into OUTPUT_DIR/.sources/, then COUNT files of each kind in
// OUTPUT_DIR/woff/ and OUTPUT_DIR/woff2/ as hard links to them, in turn.
//
//   quillvane_bench_webfonts SOURCE_DIR OUTPUT_DIR COUNT
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/Woff2Writer.h"
#include "support/WoffWriter.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// The distinct TrueType fonts of the directory, in name order: a hard link to a font already
// taken is passed over.
std::vector<fs::path> distinctFonts(const fs::path& directory) {
    std::vector<fs::path> paths;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        if (entry.is_regular_file() && entry.path().extension() == ".ttf") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::set<std::pair<dev_t, ino_t>> seen;
    std::vector<fs::path> fonts;
    for (const fs::path& path : paths) {
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0 &&
            seen.emplace(status.st_dev, status.st_ino).second) {
            fonts.push_back(path);
        }
    }
    return fonts;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::atoi(argv[3]) <= 0) {
        std::fprintf(stderr, "usage: %s SOURCE_DIR OUTPUT_DIR COUNT\n", argv[0]);
        return 2;
    }
    try {
        const fs::path output = argv[2];
        const int count = std::atoi(argv[3]);
        const std::vector<fs::path> fonts = distinctFonts(argv[1]);
        if (fonts.empty()) {
            std::fprintf(stderr, "no .ttf files in %s\n", argv[1]);
            return 1;
        }
        fs::remove_all(output);
        const fs::path sources = output / ".sources";
        fs::create_directories(sources);
        std::vector<std::pair<fs::path, fs::path>> made; // WOFF, WOFF2
        for (const fs::path& font : fonts) {
            const std::string sfnt = readFile(font);
            const fs::path stem = sources / font.stem();
            made.emplace_back(fs::path(stem).concat(".woff"), fs::path(stem).concat(".woff2"));
            writeFile(made.back().first, testsupport::woffFont(sfnt));
            writeFile(made.back().second, testsupport::woff2Bytes({.sfnt = sfnt}));
        }
        fs::create_directories(output / "woff");
        fs::create_directories(output / "woff2");
        for (int i = 0; i < count; ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "f%05d", i);
            const auto& [woff, woff2] = made[static_cast<std::size_t>(i) % made.size()];
            fs::create_hard_link(woff, output / "woff" / (std::string(number) + ".woff"));
            fs::create_hard_link(woff2, output / "woff2" / (std::string(number) + ".woff2"));
        }
        std::printf("%d WOFF and %d WOFF2 files in %s, links to %zu distinct fonts\n", count, count,
                    output.c_str(), made.size());
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
}
