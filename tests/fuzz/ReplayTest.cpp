// Every input that once made a fuzz target fail is kept under tests/fuzz/regress/<target>/ and
// runs through that target again here, together with the seeds the font writers make, so that
// a fault once fixed stays fixed in every build, the sanitizer build included.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/FuzzTargets.h"
#include "fuzz/WriterSeeds.h"

namespace fuzzing {

// Test names and messages show a target by its id.
void PrintTo(const Target& target, std::ostream* out) {
    *out << target.id;
}

} // namespace fuzzing

namespace {

namespace fs = std::filesystem;

const fs::path kRegressDir = QUILLVANE_FUZZ_REGRESS_DIR;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The kept inputs of a target, in name order; none when it never failed.
std::vector<fs::path> keptInputs(std::string_view id) {
    std::vector<fs::path> inputs;
    const fs::path dir = kRegressDir / id;
    if (fs::is_directory(dir)) {
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

// Runs one input; a violated property or any exception fails the test with its text.
void replay(const fuzzing::Target& target, const std::string& bytes, const std::string& what) {
    try {
        target.run(
            fuzzing::Input(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    } catch (const std::exception& finding) {
        ADD_FAILURE() << target.id << " on " << what << ": " << finding.what();
    }
}

class Replay : public ::testing::TestWithParam<fuzzing::Target> {};

TEST_P(Replay, KeptFindingsAndWriterSeedsPass) {
    const fuzzing::Target& target = GetParam();
    const std::vector<fuzzing::Seed> seeds = fuzzing::writerSeeds(target.id);
    EXPECT_FALSE(seeds.empty()) << "every target has seeds, so the replay is never empty";
    for (const fuzzing::Seed& seed : seeds) {
        replay(target, seed.bytes, "seed " + seed.name);
    }
    for (const fs::path& input : keptInputs(target.id)) {
        replay(target, readFile(input), input.string());
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay,
                         ::testing::ValuesIn(fuzzing::allTargets().begin(),
                                             fuzzing::allTargets().end()),
                         [](const auto& target) { return std::string(target.param.id); });

TEST(Replay, EveryKeptInputBelongsToATarget) {
    // The directory is part of the source tree (it holds a note): a path that misses it would
    // quietly replay nothing.
    ASSERT_TRUE(fs::is_regular_file(kRegressDir / "README.md")) << kRegressDir;
    for (const auto& entry : fs::directory_iterator(kRegressDir)) {
        if (!entry.is_directory()) {
            continue; // a note beside the inputs
        }
        const std::string name = entry.path().filename().string();
        const auto targets = fuzzing::allTargets();
        EXPECT_TRUE(std::any_of(targets.begin(), targets.end(),
                                [&](const fuzzing::Target& t) { return t.id == name; }))
            << entry.path() << " names no fuzz target, so its inputs would never run";
    }
}

} // namespace
