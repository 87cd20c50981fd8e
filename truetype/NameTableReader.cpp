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

// Hands every full-name record (name ID 4) of platform 0 to 3 to consider(record), in order.
// The IDs of every record of platform 0 to 3 are minded, although only the name ID takes part
// in the walk: an encoding or language ID of 32768 or more fails the lookup.
template <typename Consider>
bool walkFullNameRecords(platform::FontFileReader& font, const NameTableLocation& table,
                         Consider consider) {
    bool overflow = false;
    forEachRecord(font, table, [&](const NameRecordFields& record, std::int64_t) {
        if (record.platform >= 4) {
            return Walk::Next;
        }
        if (!record.encoding || !record.language || !record.nameId) {
            overflow = true;
            return Walk::Stop;
        }
        if (*record.nameId == 4) {
            consider(record);
        }
        return Walk::Next;
    });
    return !overflow;
}

// The byte-wise rule: the first record of platform 0 or 1, unless a platform 3 one follows
// (the last of those wins).
void chooseByteWise(Choice& choice, const NameRecordFields& record) {
    if (record.platform == 3 ||
        ((record.platform == 0 || record.platform == 1) && !choice.record)) {
        choice.record = record;
    }
}

Choice chooseRecord(platform::FontFileReader& font, const NameTableLocation& table) {
    Choice choice;
    choice.overflow = !walkFullNameRecords(
        font, table, [&choice](const NameRecordFields& record) { chooseByteWise(choice, record); });
    return choice;
}

constexpr std::int32_t kUsEnglish = 0x0409;
constexpr std::int32_t kEnglish = 0x09;      // the primary language of every English
constexpr std::int32_t kPrimaryMask = 0x3FF; // of a Windows language ID
constexpr std::int32_t kMacEnglish = 0;

// How well a full-name record serves readable names, best first: the user's exact Windows
// language, the user's primary language on Windows, then on the Macintosh; US English, any
// English on Windows, then on the Macintosh; 0 for a record the rule leaves to the byte-wise
// choice. Only records whose strings this reader decodes take part: Windows ones in UTF-16
// (symbol, BMP and full repertoire encodings) and Macintosh Roman ones, which serve the
// languages written in Latin letters. Windows records win over Macintosh ones of the same
// language, as their strings hold any script.
int readableRank(const NameRecordFields& record, const fontcore::NameLanguage& user) {
    const std::int32_t encoding = *record.encoding;
    const std::int32_t language = *record.language;
    if (record.platform == 3 && (encoding == 0 || encoding == 1 || encoding == 10)) {
        const std::int32_t primary = language & kPrimaryMask;
        if (language == user.windowsId) {
            return 6;
        }
        if (primary == user.windowsPrimary) {
            return 5;
        }
        if (language == kUsEnglish) {
            return 3;
        }
        return primary == kEnglish ? 2 : 0;
    }
    if (record.platform == 1 && encoding == 0) {
        if (language == user.macCode) {
            return 4;
        }
        return language == kMacEnglish ? 1 : 0;
    }
    return 0;
}

// The readable choice: the best ranked record (of equals, the last), else the byte-wise one.
Choice chooseReadableRecord(platform::FontFileReader& font, const NameTableLocation& table,
                            const fontcore::NameLanguage& user) {
    Choice byteWise;
    Choice best;
    int bestRank = 0;
    const bool read = walkFullNameRecords(font, table, [&](const NameRecordFields& record) {
        chooseByteWise(byteWise, record);
        const int rank = readableRank(record, user);
        if (rank > 0 && rank >= bestRank) {
            best.record = record;
            bestRank = rank;
        }
    });
    if (!read) {
        return {.record = std::nullopt, .overflow = true};
    }
    return best.record ? best : byteWise;
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
