#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The fuzz targets. Each runs one input through the code under test and checks what must hold
// whatever the input is; a property that fails raises fuzzing::PropertyViolation. The lookups
// and reports never throw, so any other exception is a finding as well.
//
// The targets are plain functions: libFuzzer calls them from LLVMFuzzerTestOneInput (clang
// builds with QUILLVANE_BUILD_FUZZERS), and the replay test calls them for every input kept
// under tests/fuzz/regress/ (any compiler).
namespace fuzzing {

using Input = std::span<const std::uint8_t>;

// The full-name lookup over the input as a font file in memory, then as a font collection, a
// suitcase and a web font, through the type table's rows.
void trueTypeName(Input input);
// The TrueType name-table report, checked against the lookup over the same bytes; then the
// collection's report, checked against the collection's lookup and the single font's report.
void trueTypeReport(Input input);
// The Type 1 full-name lookup over the input as a .pfb file in memory.
void type1Name(Input input);
// The Type 1 header report, checked against the lookup over the same bytes.
void type1Report(Input input);
// The web-font readers over the input as a WOFF and as a WOFF2 file (its first four bytes
// replaced by the signature): the name and report of the sfnt each wraps.
void woff(Input input);
void woff2(Input input);
// ValidFileName of a name under each spaces option, then the HTML line of a path and that key.
// The first byte of the input is the length of the name; the name follows, the path is the
// rest.
void htmlLine(Input input);

struct Target {
    std::string_view id; // names the fuzzer, its corpus and tests/fuzz/regress/<id>/
    void (*run)(Input);
};

// Every target, in a fixed order.
std::span<const Target> allTargets();

} // namespace fuzzing
