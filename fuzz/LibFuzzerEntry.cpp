// The libFuzzer entry of one target; QUILLVANE_FUZZ_TARGET names the target's function.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "fuzz/FuzzTargets.h"

#ifndef QUILLVANE_FUZZ_TARGET
#error "QUILLVANE_FUZZ_TARGET must name the target function"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        QUILLVANE_FUZZ_TARGET(fuzzing::Input(data, size));
    } catch (const std::exception& finding) {
        std::fprintf(stderr, "%s\n", finding.what());
        std::abort();
    } catch (...) {
        std::fprintf(stderr, "an exception that is not a std::exception escaped\n");
        std::abort();
    }
    return 0;
}
