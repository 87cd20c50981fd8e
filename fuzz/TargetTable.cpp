#include "fuzz/FuzzTargets.h"

#include <array>

namespace fuzzing {

std::span<const Target> allTargets() {
    static constexpr std::array<Target, 7> kTargets{{
        {"tt_name", &trueTypeName},
        {"tt_report", &trueTypeReport},
        {"t1_name", &type1Name},
        {"t1_report", &type1Report},
        {"woff", &woff},
        {"woff2", &woff2},
        {"html_line", &htmlLine},
    }};
    return kTargets;
}

} // namespace fuzzing
