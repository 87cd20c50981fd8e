#pragma once

#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"
#include "truetype/NameTable.h"

#include <cstdint>
#include <optional>

// Inside the TrueType readers: which of a name table's records of one name ID stands for it.
// The full-name lookup chooses among the records of ID 4 on every run, so all of this is inline:
// the choice costs no call per record.
namespace truetype {

// Hands every record of platform 0 to 3 to consider(record), in order; false when one of them
// overflows. The IDs of every record of platform 0 to 3 are minded, although only the name ID
// takes part in the choices: an encoding or language ID of 32768 or more fails the lookup.
template <typename Consider>
bool walkNamedRecords(platform::FontFileReader& font, const NameTableLocation& table,
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
        consider(record);
        return Walk::Next;
    });
    return !overflow;
}

// The byte-wise rule: the first record of platform 0 or 1, unless a platform 3 one follows
// (the last of those wins).
inline void chooseByteWise(std::optional<NameRecordFields>& choice,
                           const NameRecordFields& record) {
    if (record.platform == 3 || ((record.platform == 0 || record.platform == 1) && !choice)) {
        choice = record;
    }
}

// How well a record serves readable names, best first: the user's exact Windows language, the
// user's primary language on Windows, then on the Macintosh; US English, any English on
// Windows, then on the Macintosh; 0 for a record the rule leaves to the byte-wise choice. Only
// records whose strings this reader decodes take part: Windows ones in UTF-16 (symbol, BMP and
// full repertoire encodings) and Macintosh Roman ones, which serve the languages written in
// Latin letters. Windows records win over Macintosh ones of the same language, as their
// strings hold any script.
inline int readableRank(const NameRecordFields& record, const fontcore::NameLanguage& user) {
    constexpr std::int32_t kUsEnglish = 0x0409;
    constexpr std::int32_t kEnglish = 0x09;      // the primary language of every English
    constexpr std::int32_t kPrimaryMask = 0x3FF; // of a Windows language ID
    constexpr std::int32_t kMacEnglish = 0;
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

// The readable choice among the records of one name ID, shown one by one: the best ranked
// record (of equals, the last), else the byte-wise one.
class ReadableChoice {
public:
    void consider(const NameRecordFields& record, const fontcore::NameLanguage& user) {
        chooseByteWise(byteWise_, record);
        const int rank = readableRank(record, user);
        if (rank > 0 && rank >= bestRank_) {
            best_ = record;
            bestRank_ = rank;
        }
    }

    const std::optional<NameRecordFields>& chosen() const { return best_ ? best_ : byteWise_; }
    // The record the byte-wise rule chooses among the same ones.
    const std::optional<NameRecordFields>& byteWise() const { return byteWise_; }

private:
    std::optional<NameRecordFields> byteWise_;
    std::optional<NameRecordFields> best_;
    int bestRank_ = 0;
};

} // namespace truetype
