// Draws the first font of every font file under the folders given, as the window's sample
// does, and prints the count, median and 95th percentile of the drawing time per type.
//   quillvane_bench_samples DIR...
#include "drawing/SampleDrawing.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::string typeOf(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::array<const char*, 10> known{".ttf",  ".otf",   ".ttc", ".otc", ".dfont",
                                                   ".woff", ".woff2", ".pfb", ".pfa", ".t1"};
    for (const char* type : known) {
        if (extension == type) {
            return type + 1;
        }
    }
    return {};
}

double at(std::vector<double>& times, double fraction) {
    std::sort(times.begin(), times.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(times.size() - 1));
    return times[index];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillvane_bench_samples DIR...\n");
        return 2;
    }
    const int sizes[] = {14, 20, 28};
    std::map<std::string, std::vector<double>> times; // milliseconds per type
    int refused = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (std::filesystem::recursive_directory_iterator it(argv[i], error), end;
             !error && it != end; it.increment(error)) {
            const std::string type = typeOf(it->path());
            if (type.empty() || !it->is_regular_file(error)) {
                continue;
            }
            const std::string name = it->path().stem().string();
            const auto start = std::chrono::steady_clock::now();
            const drawing::SampleDrawing drawn =
                drawing::drawSample(it->path().string(), 0, {name, 16, sizes, {}, 2048});
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            times[type].push_back(took.count());
            if (!drawn.drawn()) {
                ++refused;
                std::printf("not drawn: %s: %s\n", it->path().c_str(), drawn.reason.c_str());
            }
        }
    }
    std::vector<double> all;
    std::printf("%-8s %7s %10s %10s\n", "type", "fonts", "median ms", "p95 ms");
    for (auto& [type, list] : times) {
        all.insert(all.end(), list.begin(), list.end());
        std::printf("%-8s %7zu %10.2f %10.2f\n", type.c_str(), list.size(), at(list, 0.5),
                    at(list, 0.95));
    }
    if (!all.empty()) {
        std::printf("%-8s %7zu %10.2f %10.2f\n", "all", all.size(), at(all, 0.5), at(all, 0.95));
    }
    std::printf("not drawn: %d\n", refused);
    return 0;
}
