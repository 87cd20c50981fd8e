#include "truetype/NameTableReader.h"

#include "platform/Failure.h"
#include "truetype/NameTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace truetype {

namespace {

// The record chosen as the full name, or why there is none.
struct Choice {
    std::optional<NameRecordFields> record;
    bool overflow = false;
};

// The first record of platform 0 or 1 with name ID 4, unless a platform 3 one with name ID 4
// follows (the last of those wins). The IDs of every record of platform 0 to 3 are minded,
// although only the name ID takes part in the choice: an encoding or language ID of 32768 or
// more fails the lookup.
Choice chooseRecord(platform::FontFileReader& font, const NameTableLocation& table) {
    Choice choice;
    forEachRecord(font, table, [&choice](const NameRecordFields& record, std::int64_t) {
        if (record.platform >= 4) {
            return Walk::Next;
        }
        if (!record.encoding || !record.language || !record.nameId) {
            choice.overflow = true;
            return Walk::Stop;
        }
        if (*record.nameId == 4 &&
            (record.platform == 3 ||
             ((record.platform == 0 || record.platform == 1) && !choice.record))) {
            choice.record = record;
        }
        return Walk::Next;
    });
    return choice;
}

// The full name, decoded; none for an overflow, which most damaged files end in: the lookup
// reports it without unwinding.
std::optional<std::string> nameOfFace(const Face& face, fontcore::NameDecoding decoding) {
    const std::optional<NameTableLocation> table =
        findNameTable(face.font, face.offsetTableAt, face.tableOffsetsFrom);
    if (!table) {
        return std::nullopt;
    }
    const Choice choice = chooseRecord(face.font, *table);
    if (choice.overflow) {
        return std::nullopt;
    }
    if (!choice.record) {
        return std::string();
    }
    // Of the chosen record alone, the length and offset must hold.
    const std::optional<StringPlace> place = stringPlace(face.font, *table, *choice.record);
    if (!place) {
        return std::nullopt;
    }
    std::string name;
    appendRecordText(name, face.font, *place,
                     stringEncodingOf(decoding, choice.record->platform, *choice.record->encoding));
    return name;
}

} // namespace

fontcore::FullName fullName(platform::FontFileReader& file, SfntContainer container,
                            fontcore::NameDecoding decoding) {
    SfntFaces faces(file, container);
    std::optional<std::string> name = nameOfFace(faces.face(0), decoding);
    if (!name) {
        return {.failure = platform::Failure(platform::FailureNumber::Overflow)};
    }
    return {.name = std::move(*name)};
}

} // namespace truetype
