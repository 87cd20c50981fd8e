#include "fontlist/DuplicateFields.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace fontlist::duplicate_fields {

std::string_view tierName(DuplicateTier tier) {
    switch (tier) {
    case DuplicateTier::SameBytes: return "same bytes";
    case DuplicateTier::SameFont: return "same font, other bytes";
    case DuplicateTier::OtherVersions: break;
    }
    return "other versions";
}

void appendUtcTime(std::string& out, std::int64_t nanoseconds) {
    using namespace std::chrono;
    const sys_time<std::chrono::nanoseconds> moment{std::chrono::nanoseconds(nanoseconds)};
    // Floored, so that a moment before 1970 keeps its day and its second.
    const sys_days day = floor<days>(moment);
    const year_month_day date(day);
    const hh_mm_ss<seconds> time(floor<seconds>(moment - day));
    char text[48];
    const int length = std::snprintf(
        text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
        static_cast<int>(time.seconds().count()));
    out.append(text, static_cast<std::size_t>(length));
}

double revisionValue(std::uint32_t fixed) {
    constexpr double kOne = 65536.0;
    return static_cast<double>(static_cast<std::int32_t>(fixed)) / kOne;
}

void appendRevision(std::string& out, std::uint32_t fixed) {
    char text[32];
    const std::to_chars_result end =
        std::to_chars(std::begin(text), std::end(text), revisionValue(fixed));
    out.append(text, end.ptr);
}

std::string shown(const DuplicatesOptions& options, std::string_view text) {
    return options.shown == nullptr ? std::string(text) : options.shown(text);
}

std::string joined(const std::vector<std::string_view>& extensions) {
    std::string text;
    for (const std::string_view extension : extensions) {
        text += text.empty() ? "" : " ";
        text += extension;
    }
    return text;
}

bool hasCompanionKinds(const ScannedFile& file) {
    return file.type != nullptr && !file.type->companions.empty();
}

} // namespace fontlist::duplicate_fields
