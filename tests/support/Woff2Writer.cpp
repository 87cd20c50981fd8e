#include "support/Woff2Writer.h"

#include "support/TrueTypeWriter.h"

#include <brotli/encode.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace testsupport {

namespace {

// The table directory's known tags, by their index in the flags byte.
constexpr std::string_view kKnownTags =
    "cmapheadhheahmtxmaxpnameOS/2postcvt fpgmglyflocaprepCFF VORGEBDTEBLCgasphdmxkernLTSHPCLT"
    "VDMXvheavmtxBASEGDEFGPOSGSUBEBSCJSTFMATHCBDTCBLCCOLRCPALSVG sbixacntavarbdatblocbslncvar"
    "fdscfeatfmtxfvargvarhstyjustlcarmortmorxopbdproptrakZapfSilfGlatGlocFeatSill";

std::uint32_t readU32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes.at(at + i));
    }
    return value;
}

// The flags byte and tag of a directory entry (with a null transform).
std::string entryTag(const std::string& tag, std::uint8_t transform) {
    const std::size_t index = kKnownTags.find(tag);
    if (index != std::string_view::npos && index % 4 == 0) {
        return std::string(1, static_cast<char>((transform << 6) | (index / 4)));
    }
    return std::string(1, static_cast<char>((transform << 6) | 0x3F)) + tag;
}

} // namespace

std::string base128(std::uint32_t value) {
    std::string bytes(1, static_cast<char>(value & 0x7F));
    for (value >>= 7; value != 0; value >>= 7) {
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    }
    return bytes;
}

std::string brotliCompressed(const std::string& data) {
    std::vector<std::uint8_t> out(BrotliEncoderMaxCompressedSize(data.size()));
    std::size_t size = out.size();
    // A low quality: quick for the large tables of tests, and still a stream of the format.
    if (!BrotliEncoderCompress(4, BROTLI_DEFAULT_WINDOW, BROTLI_MODE_FONT, data.size(),
                               reinterpret_cast<const std::uint8_t*>(data.data()), &size,
                               out.data())) {
        throw std::runtime_error("brotli could not compress the tables");
    }
    return {reinterpret_cast<const char*>(out.data()), size};
}

std::string brotliCompressedAfterZeros(std::uint32_t zeros, const std::string& data) {
    const std::unique_ptr<BrotliEncoderState, decltype(&BrotliEncoderDestroyInstance)> encoder(
        BrotliEncoderCreateInstance(nullptr, nullptr, nullptr), &BrotliEncoderDestroyInstance);
    BrotliEncoderSetParameter(encoder.get(), BROTLI_PARAM_QUALITY, 5);
    std::string out;
    const auto feed = [&](const std::uint8_t* bytes, std::size_t size, BrotliEncoderOperation op) {
        std::size_t availableIn = size;
        do {
            std::array<std::uint8_t, 1 << 16> chunk{};
            std::uint8_t* nextOut = chunk.data();
            std::size_t availableOut = chunk.size();
            if (!BrotliEncoderCompressStream(encoder.get(), op, &availableIn, &bytes, &availableOut,
                                             &nextOut, nullptr)) {
                throw std::runtime_error("brotli could not compress the tables");
            }
            out.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - availableOut);
        } while (availableIn > 0 || BrotliEncoderHasMoreOutput(encoder.get()) ||
                 (op == BROTLI_OPERATION_FINISH && !BrotliEncoderIsFinished(encoder.get())));
    };
    const std::vector<std::uint8_t> step(std::size_t{1} << 20);
    for (std::uint32_t left = zeros; left > 0;) {
        const std::uint32_t size =
            std::min<std::uint32_t>(left, static_cast<std::uint32_t>(step.size()));
        feed(step.data(), size, BROTLI_OPERATION_PROCESS);
        left -= size;
    }
    feed(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), BROTLI_OPERATION_FINISH);
    return out;
}

namespace {

// Appends the directory entries of the font's tables and their bytes; the number of tables.
std::uint16_t appendTables(const std::string& sfnt, const Woff2Layout& layout,
                           std::string& directory, std::string& tables) {
    const auto numTables = static_cast<std::uint16_t>(readU32(sfnt, 4) >> 16);
    for (std::size_t i = 0; i < numTables; ++i) {
        const std::size_t record = 12 + 16 * i;
        const std::string tag = sfnt.substr(record, 4);
        const std::uint32_t offset = readU32(sfnt, record + 8);
        const std::uint32_t length = readU32(sfnt, record + 12);
        const bool name = tag == "name";
        // Version 0 of glyf and loca is their transform; 3 stores them as they are.
        const std::uint8_t untransformed = tag == "glyf" || tag == "loca" ? 3 : 0;
        directory += entryTag(tag, name ? layout.nameTransform : untransformed) +
                     (name && layout.nameLength ? *layout.nameLength : base128(length));
        tables += sfnt.substr(offset, length);
    }
    return numTables;
}

// The collection directory of fonts whose tables are listed one font after the other (fewer
// than 253 in all, so that every count and index is one byte).
std::string collectionDirectory(const std::vector<std::string>& fonts) {
    std::string directory = bigEndian32(0x00010000) + static_cast<char>(fonts.size());
    char index = 0;
    for (const std::string& font : fonts) {
        const char count = font.at(5);
        directory += count + font.substr(0, 4);
        for (char i = 0; i < count; ++i) {
            directory += index++;
        }
    }
    return directory;
}

} // namespace

std::string woff2Bytes(const Woff2Layout& layout) {
    std::string directory;
    std::string tables;
    std::uint16_t numTables = 0;
    std::size_t sfntSize = 0;
    for (const std::string& font :
         layout.collection.empty() ? std::vector{layout.sfnt} : layout.collection) {
        numTables =
            static_cast<std::uint16_t>(numTables + appendTables(font, layout, directory, tables));
        sfntSize += font.size();
    }
    if (layout.leadingZeros > 0) {
        directory = entryTag("zero", 0) + base128(layout.leadingZeros) + directory;
        ++numTables;
        sfntSize += layout.leadingZeros;
    }
    if (!layout.collection.empty()) {
        directory += collectionDirectory(layout.collection);
    }
    const std::string flavor = layout.collection.empty() ? layout.sfnt.substr(0, 4) : "ttcf";
    const std::string stream = layout.stream.value_or(
        layout.leadingZeros > 0 ? brotliCompressedAfterZeros(layout.leadingZeros, tables)
                                : brotliCompressed(tables));
    const std::size_t size = 48 + directory.size() + stream.size();
    return layout.signature + flavor +
           bigEndian32(layout.length.value_or(static_cast<std::uint32_t>(size))) +
           bigEndian16(numTables) + bigEndian16(0) +
           bigEndian32(layout.totalSfntSize.value_or(static_cast<std::uint32_t>(sfntSize))) +
           bigEndian32(
               layout.totalCompressedSize.value_or(static_cast<std::uint32_t>(stream.size()))) +
           bigEndian32(0x00010000) + std::string(20, '\0') + directory + stream;
}

} // namespace testsupport
