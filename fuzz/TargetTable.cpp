#include "fuzz/FuzzTargets.h"

#include <array>

namespace fuzzing {

std::span<const Target> allTargets() {
    static constexpr std::array<Target, 5> kTargets{{
        {"tt_name", &trueTypeName},
        {"tt_report", &trueTypeReport},
        {"t1_name", &type1Name},
        {"t1_report", &type1Report},
        {"html_line", &htmlLine},
    }};
    return kTargets;
}

} // namespace fuzzing
