// Full-name lookups per second over the real fonts that the setup installs: the TrueType
// fonts of fonts-dejavu-core and fonts-liberation2, the Type 1 fonts of fonts-urw-base35.
// Run: build/default/bench/quillvane_bench_lookups
#include "fontcore/FullName.h"
#include "fontlist/FontTypes.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> fontsIn(std::initializer_list<const char*> directories,
                                 const char* extension) {
    std::vector<std::string> paths;
    for (const char* directory : directories) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
            if (entry.path().extension() == extension) {
                paths.push_back(entry.path().string());
            }
        }
    }
    return paths;
}

template <typename Lookup>
void lookups(benchmark::State& state, const std::vector<std::string>& paths, Lookup lookup) {
    if (paths.empty()) {
        state.SkipWithError("no fonts installed");
        return;
    }
    std::size_t index = 0;
    std::size_t errors = 0;
    for (auto _ : state) {
        const fontcore::FullName name = lookup(paths[index]);
        errors += name.failure ? 1 : 0;
        benchmark::DoNotOptimize(name);
        index = (index + 1) % paths.size();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["fonts"] = static_cast<double>(paths.size());
    state.counters["errors"] = static_cast<double>(errors);
}

const std::vector<std::string>& trueTypeFonts() {
    static const std::vector<std::string> paths = fontsIn(
        {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation2"}, ".ttf");
    return paths;
}

void TrueTypeFullName(benchmark::State& state) {
    lookups(state, trueTypeFonts(),
            [](const std::string& path) { return fontlist::nameOf(path).value(); });
}

// The same with the "Readable names" option, in no language of the user's.
void TrueTypeFullNameReadable(benchmark::State& state) {
    lookups(state, trueTypeFonts(), [](const std::string& path) {
        return fontlist::nameOf(path, fontcore::NameDecoding::Readable).value();
    });
}

void Type1FullName(benchmark::State& state) {
    static const std::vector<std::string> paths = fontsIn({"/usr/share/fonts/X11/Type1"}, ".pfb");
    lookups(state, paths, [](const std::string& path) { return fontlist::nameOf(path).value(); });
}

BENCHMARK(TrueTypeFullName);
BENCHMARK(TrueTypeFullNameReadable);
BENCHMARK(Type1FullName);

} // namespace

BENCHMARK_MAIN();
