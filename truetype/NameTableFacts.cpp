#include "truetype/NameTableFacts.h"

#include "platform/Failure.h"
#include "truetype/NameRecordChoice.h"
#include "truetype/NameTable.h"
#include "truetype/ReadBudget.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace truetype {

namespace {

// The name IDs read, and the field each fills.
struct FactField {
    std::int16_t nameId;
    std::string fontcore::FaceFacts::*field;
};

constexpr std::array<FactField, 7> kFactFields{{
    {4, &fontcore::FaceFacts::fullName},
    {5, &fontcore::FaceFacts::version},
    {6, &fontcore::FaceFacts::postScriptName},
    {8, &fontcore::FaceFacts::manufacturer},
    {9, &fontcore::FaceFacts::designer},
    {13, &fontcore::FaceFacts::licence},
    {14, &fontcore::FaceFacts::licenceUrl},
}};

// The place of the ID in kFactFields; none for an ID that is not read.
std::optional<std::size_t> fieldOf(std::int16_t nameId) {
    for (std::size_t i = 0; i < kFactFields.size(); ++i) {
        if (kFactFields[i].nameId == nameId) {
            return i;
        }
    }
    return std::nullopt;
}

[[noreturn]] void overflow() {
    throw platform::Failure(platform::FailureNumber::Overflow);
}

fontcore::FaceFacts factsOfFace(const Face& face, const fontcore::NameDecoding& readable,
                                ReadBudget& budget) {
    const std::optional<NameTableLocation> table =
        findNameTable(face.font, face.offsetTableAt, face.tableOffsetsFrom);
    if (!table) {
        overflow();
    }
    budget.spendStructures(table->entriesRead + std::max<std::int64_t>(table->recordCount, 0));
    std::array<ReadableChoice, kFactFields.size()> choices;
    const bool read = walkNamedRecords(face.font, *table, [&](const NameRecordFields& record) {
        if (const std::optional<std::size_t> field = fieldOf(*record.nameId)) {
            choices[*field].consider(record, readable.language);
        }
    });
    if (!read) {
        overflow();
    }
    fontcore::FaceFacts facts;
    for (std::size_t i = 0; i < kFactFields.size(); ++i) {
        const std::optional<NameRecordFields>& record = choices[i].chosen();
        if (!record) {
            continue;
        }
        const std::optional<StringPlace> place = stringPlace(face.font, *table, *record);
        if (!place) {
            continue;
        }
        budget.spendStringBytes(place->count);
        appendRecordText(facts.*kFactFields[i].field, face.font, *place,
                         stringEncodingOf(readable, record->platform, *record->encoding));
    }
    return facts;
}

} // namespace

fontcore::FontFacts nameFacts(platform::FontFileReader& file, SfntContainer container,
                              fontcore::NameDecoding decoding) {
    SfntFaces faces(file, container);
    ReadBudget budget(faces.bytes());
    const fontcore::NameDecoding readable = fontcore::NameDecoding::readableIn(decoding.language);
    fontcore::FontFacts facts;
    for (std::int64_t i = 0; i < faces.count(); ++i) {
        facts.faces.push_back(factsOfFace(faces.face(i), readable, budget));
    }
    return facts;
}

} // namespace truetype
