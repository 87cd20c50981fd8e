#include "truetype/NameTableFacts.h"

#include "platform/Failure.h"
#include "truetype/FontRevision.h"
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

// The name IDs read, the field each fills, and how many bytes of its string are read at most
// (the licence, often pages long, is shown only by its first characters: 1,024 bytes hold at
// least 256 of them in any encoding). A stand-in fills its field only where the ID before it
// left the field empty: the family and style names of the font's own (1, 2) stand in for the
// typographic ones (16, 17).
enum Uses : std::uint8_t { kPage = 1, kList = 2, kBoth = kPage | kList };

struct FactField {
    std::int16_t nameId;
    std::string fontcore::FaceFacts::*field;
    std::uint8_t uses = kBoth;
    std::int64_t maximumBytes = INT64_MAX;
    bool standIn = false;
};

constexpr std::array<FactField, 13> kFactFields{{
    {0, &fontcore::FaceFacts::copyright, kList},
    {4, &fontcore::FaceFacts::fullName},
    {5, &fontcore::FaceFacts::version},
    {6, &fontcore::FaceFacts::postScriptName},
    {8, &fontcore::FaceFacts::manufacturer},
    {9, &fontcore::FaceFacts::designer},
    {11, &fontcore::FaceFacts::vendorUrl, kList},
    {13, &fontcore::FaceFacts::licence, kPage, 1024},
    {14, &fontcore::FaceFacts::licenceUrl},
    {16, &fontcore::FaceFacts::family, kList},
    {1, &fontcore::FaceFacts::family, kList, INT64_MAX, true},
    {17, &fontcore::FaceFacts::style, kList},
    {2, &fontcore::FaceFacts::style, kList, INT64_MAX, true},
}};

// The place in kFactFields of every name ID up to the highest one read, -1 for one not read.
constexpr std::int16_t kHighestId = 17;
constexpr std::array<std::int8_t, kHighestId + 1> kFieldOfId = [] {
    std::array<std::int8_t, kHighestId + 1> places{};
    places.fill(-1);
    for (std::size_t i = 0; i < kFactFields.size(); ++i) {
        places[static_cast<std::size_t>(kFactFields[i].nameId)] = static_cast<std::int8_t>(i);
    }
    return places;
}();

// The place of the ID in kFactFields; none for an ID that is not read.
std::optional<std::size_t> fieldOf(std::int16_t nameId) {
    if (nameId < 0 || nameId > kHighestId || kFieldOfId[static_cast<std::size_t>(nameId)] < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(kFieldOfId[static_cast<std::size_t>(nameId)]);
}

[[noreturn]] void overflow() {
    throw platform::Failure(platform::FailureNumber::Overflow);
}

fontcore::FaceFacts factsOfFace(const Face& face, const fontcore::NameDecoding& decoding,
                                std::uint8_t uses, ReadBudget& budget) {
    const std::optional<NameTableLocation> table =
        findNameTable(face.font, face.offsetTableAt, face.tableOffsetsFrom);
    if (!table) {
        overflow();
    }
    budget.spendStructures(table->entriesRead + std::max<std::int64_t>(table->recordCount, 0));
    std::array<ReadableChoice, kFactFields.size()> choices;
    const bool read = walkNamedRecords(face.font, *table, [&](const NameRecordFields& record) {
        if (const std::optional<std::size_t> field = fieldOf(*record.nameId)) {
            choices[*field].consider(record, decoding.language);
        }
    });
    if (!read) {
        overflow();
    }
    fontcore::FaceFacts facts;
    for (std::size_t i = 0; i < kFactFields.size(); ++i) {
        std::string& text = facts.*kFactFields[i].field;
        const std::optional<NameRecordFields>& record =
            decoding.readable() ? choices[i].chosen() : choices[i].byteWise();
        if (!record || (kFactFields[i].uses & uses) == 0 ||
            (kFactFields[i].standIn && !text.empty())) {
            continue;
        }
        std::optional<StringPlace> place = stringPlace(face.font, *table, *record);
        if (!place) {
            // The list's full name is the lookup's, which fails on such a record.
            if (uses == kList && kFactFields[i].field == &fontcore::FaceFacts::fullName) {
                overflow();
            }
            continue;
        }
        place->count = std::min(place->count, kFactFields[i].maximumBytes);
        budget.spendStringBytes(place->count);
        appendRecordText(text, face.font, *place,
                         stringEncodingOf(decoding, record->platform, *record->encoding));
    }
    return facts;
}

} // namespace

fontcore::FontFacts nameFacts(platform::FontFileReader& file, SfntContainer container,
                              fontcore::NameDecoding decoding, fontcore::FactsUse use) {
    const std::uint8_t uses = use == fontcore::FactsUse::Page ? kPage : kList;
    SfntFaces faces(file, container);
    ReadBudget budget(faces.bytes());
    fontcore::FontFacts facts;
    for (std::int64_t i = 0; i < faces.count(); ++i) {
        const Face face = faces.face(i);
        facts.faces.push_back(factsOfFace(face, decoding, uses, budget));
        if (use == fontcore::FactsUse::List) {
            facts.faces.back().fontRevision =
                fontRevisionOf(face.font, face.offsetTableAt, face.tableOffsetsFrom);
        }
    }
    return facts;
}

} // namespace truetype
