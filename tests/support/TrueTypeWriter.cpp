#include "support/TrueTypeWriter.h"

#include "truetype/SfntLayout.h"

namespace testsupport {

std::string utf16be(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

std::string bigEndian16(std::uint16_t value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

std::string bigEndian32(std::uint32_t value) {
    return bigEndian16(static_cast<std::uint16_t>(value >> 16)) +
           bigEndian16(static_cast<std::uint16_t>(value & 0xFFFF));
}

namespace {

namespace sfnt = truetype::sfnt;

// Writes value big-endian into bytes at the given offset, which must lie within them.
void put16(std::string& bytes, std::int64_t at, std::uint16_t value) {
    bytes.replace(static_cast<std::size_t>(at), 2, bigEndian16(value));
}
void put32(std::string& bytes, std::int64_t at, std::uint32_t value) {
    bytes.replace(static_cast<std::size_t>(at), 4, bigEndian32(value));
}

std::int64_t sizeOf(std::size_t count) {
    return static_cast<std::int64_t>(count);
}

} // namespace

std::string nameTableBytes(const NameTableLayout& layout) {
    const auto recordCount = static_cast<std::uint16_t>(layout.records.size());
    // The header and the records; a version 1 table adds its language-tag records.
    const std::int64_t recordsEnd = sfnt::nameRecordAt(0, sizeOf(layout.records.size()));
    std::string table(static_cast<std::size_t>(recordsEnd), '\0');
    const std::int64_t langTagsAt = recordsEnd + 2; // after the count of language tags
    if (layout.format == 1) {
        table.resize(static_cast<std::size_t>(langTagsAt + sfnt::LangTagRecordLayout::size *
                                                               sizeOf(layout.languageTags.size())));
    }
    std::string storage;
    for (std::size_t j = 0; j < layout.records.size(); ++j) {
        const NameRecordLayout& record = layout.records[j];
        const std::int64_t at = sfnt::nameRecordAt(0, sizeOf(j));
        const auto stored = static_cast<std::uint16_t>(storage.size());
        storage += record.bytes;
        put16(table, at + sfnt::NameRecordLayout::platformID, record.platform);
        put16(table, at + sfnt::NameRecordLayout::encodingID, record.encoding);
        put16(table, at + sfnt::NameRecordLayout::languageID, record.language);
        put16(table, at + sfnt::NameRecordLayout::nameID, record.nameId);
        put16(table, at + sfnt::NameRecordLayout::length,
              record.length.value_or(static_cast<std::uint16_t>(record.bytes.size())));
        put16(table, at + sfnt::NameRecordLayout::stringOffset, record.offset.value_or(stored));
    }
    if (layout.format == 1) {
        put16(table, recordsEnd, static_cast<std::uint16_t>(layout.languageTags.size()));
        for (std::size_t k = 0; k < layout.languageTags.size(); ++k) {
            const std::string& tag = layout.languageTags[k];
            const std::int64_t at = langTagsAt + sfnt::LangTagRecordLayout::size * sizeOf(k);
            put16(table, at + sfnt::LangTagRecordLayout::length,
                  static_cast<std::uint16_t>(tag.size()));
            put16(table, at + sfnt::LangTagRecordLayout::langTagOffset,
                  static_cast<std::uint16_t>(storage.size()));
            storage += tag;
        }
    }
    put16(table, sfnt::NameHeaderLayout::version, layout.format);
    put16(table, sfnt::NameHeaderLayout::count, layout.count.value_or(recordCount));
    put16(table, sfnt::NameHeaderLayout::storageOffset,
          layout.storageOffset.value_or(static_cast<std::uint16_t>(table.size())));
    return table + storage;
}

std::string trueTypeBytes(const FontLayout& layout) {
    constexpr std::int64_t offsetTableAt = 0;
    const auto count = static_cast<std::uint16_t>(layout.tables.size());
    std::string font(
        static_cast<std::size_t>(sfnt::tableRecordAt(offsetTableAt, sizeOf(layout.tables.size()))),
        '\0');
    put32(font, offsetTableAt + sfnt::OffsetTableLayout::sfntVersion, 0x00010000);
    put16(font, offsetTableAt + sfnt::OffsetTableLayout::numTables,
          layout.numTables.value_or(count));
    // searchRange, entrySelector and rangeShift stay zero: never read.
    std::string data;
    for (std::size_t i = 0; i < layout.tables.size(); ++i) {
        const TableLayout& table = layout.tables[i];
        const std::int64_t entry = sfnt::tableRecordAt(offsetTableAt, sizeOf(i));
        std::string tag = table.tag.substr(0, 4);
        tag.append(4 - tag.size(), ' ');
        font.replace(static_cast<std::size_t>(entry + sfnt::TableRecordLayout::tableTag), 4, tag);
        // The checksum stays zero: never read.
        if (table.offsetBytes) {
            font.replace(static_cast<std::size_t>(entry + sfnt::TableRecordLayout::offset), 4,
                         reinterpret_cast<const char*>(table.offsetBytes->data()), 4);
        } else {
            put32(font, entry + sfnt::TableRecordLayout::offset,
                  static_cast<std::uint32_t>(font.size() + data.size()));
        }
        put32(font, entry + sfnt::TableRecordLayout::length,
              static_cast<std::uint32_t>(table.data.size()));
        data += table.data;
        data.append((4 - data.size() % 4) % 4, '\0');
    }
    return font + data;
}

std::string trueTypeFont(const NameTableLayout& names) {
    // Every field given: this file is also built into the demo folder's writer, outside the
    // tests' relaxed warnings.
    return trueTypeBytes(FontLayout{{
                                        {"OS/2", std::string(96, '\x01'), std::nullopt},
                                        {"head", std::string(54, '\x02'), std::nullopt},
                                        {"name", nameTableBytes(names), std::nullopt},
                                        {"post", std::string(32, '\x03'), std::nullopt},
                                    },
                                    std::nullopt});
}

std::string trueTypeFontNamed(std::u16string_view fullName) {
    NameTableLayout names;
    names.records.push_back({3, 1, 0x0409, 4, utf16be(fullName), std::nullopt, std::nullopt});
    return trueTypeFont(names);
}

} // namespace testsupport
