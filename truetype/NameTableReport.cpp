#include "truetype/NameTableReport.h"

#include "runtime/FileSystem.h"
#include "runtime/Text.h"
#include "truetype/NameRecordLabels.h"
#include "truetype/NameTableReader.h"

namespace truetype {

namespace {

constexpr const char* crlf = "\r\n";

// The lines of the report; any failure passes to the caller, which discards what was built.
std::string reportText(runtime::FontFileReader& font, const std::string& fontPath) {
    std::string text = "NAME Table Info for " + fontPath + crlf;
    const NameTableLocation table = TTFindNameTable(font);
    text += "Name Records | " + std::to_string(table.recordCount) + crlf;
    for (std::int64_t j = 0; j < table.recordCount; ++j) {
        const std::int64_t R = recordPosition(table, j);
        const std::uint8_t platform = recordPlatform(font, R);
        if (platform >= 4) {
            continue;
        }
        const std::int16_t encoding = recordEncoding(font, R);
        const std::string languageKey = FontHex(recordLanguage(font, R));
        const std::int16_t nameId = recordNameId(font, R);
        const std::string string = TTRecordText(font, table, R);
        text += PlatEnc(platform, encoding);
        text += ' ';
        text += FontLang(languageKey);
        text += ' ';
        text += NameField(nameId);
        text += runtime::text::decodeWindows1252(string);
        text += crlf;
    }
    return text;
}

} // namespace

runtime::FontReport TTReportFromReader(runtime::FontFileReader& font, const std::string& fontPath) {
    try {
        return {reportText(font, fontPath), false};
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

runtime::FontReport TTReport(const std::string& fontPath) {
    try {
        // The existence test comes first, so that a file that has gone gives its own text.
        runtime::fs::fileAttributes(fontPath);
        runtime::FontFileReader font(fontPath);
        return TTReportFromReader(font, fontPath);
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

} // namespace truetype
