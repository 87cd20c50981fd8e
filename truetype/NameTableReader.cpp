#include "truetype/NameTableReader.h"

#include "platform/Failure.h"
#include "truetype/NameRecordChoice.h"
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

constexpr std::int16_t kFullNameId = 4;

Choice chooseRecord(platform::FontFileReader& font, const NameTableLocation& table) {
    Choice choice;
    choice.overflow = !walkNamedRecords(font, table, [&choice](const NameRecordFields& record) {
        if (*record.nameId == kFullNameId) {
            chooseByteWise(choice.record, record);
        }
    });
    return choice;
}

// The readable choice among the full-name records.
Choice chooseReadableRecord(platform::FontFileReader& font, const NameTableLocation& table,
                            const fontcore::NameLanguage& user) {
    ReadableChoice readable;
    const bool read = walkNamedRecords(font, table, [&](const NameRecordFields& record) {
        if (*record.nameId == kFullNameId) {
            readable.consider(record, user);
        }
    });
    if (!read) {
        return {.record = std::nullopt, .overflow = true};
    }
    return {.record = readable.chosen(), .overflow = false};
}

// The full name, decoded; none for an overflow, which most damaged files end in: the lookup
// reports it without unwinding.
std::optional<std::string> nameOfFace(const Face& face, fontcore::NameDecoding decoding) {
    const std::optional<NameTableLocation> table =
        findNameTable(face.font, face.offsetTableAt, face.tableOffsetsFrom);
    if (!table) {
        return std::nullopt;
    }
    const Choice choice = decoding.readable()
                              ? chooseReadableRecord(face.font, *table, decoding.language)
                              : chooseRecord(face.font, *table);
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
