#include "truetype/Woff2Font.h"

#include "platform/Failure.h"
#include "truetype/SfntLayout.h"
#include "truetype/Woff2Header.h"

#include <brotli/decode.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <span>

namespace truetype {

namespace {

[[noreturn]] void broken() {
    throw platform::Failure(platform::FailureNumber::Overflow);
}

void putU16(std::vector<std::uint8_t>& out, std::int64_t at, std::uint32_t value) {
    out[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value >> 8);
    out[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>(value);
}

void putU32(std::vector<std::uint8_t>& out, std::int64_t at, std::uint32_t value) {
    putU16(out, at, value >> 16);
    putU16(out, at + 2, value & 0xFFFFU);
}

// The offset table of the wrapped font, with the `name` table's record when there is one; the
// table's bytes are to follow it.
std::vector<std::uint8_t> sfntHeader(std::uint32_t flavor,
                                     const std::optional<Woff2NameTable>& name) {
    using sfnt::OffsetTableLayout;
    using sfnt::TableRecordLayout;
    const std::int64_t tables = name ? 1 : 0;
    const std::int64_t size = sfnt::tableRecordAt(0, tables);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size));
    putU32(out, OffsetTableLayout::sfntVersion, flavor);
    putU16(out, OffsetTableLayout::numTables, static_cast<std::uint32_t>(tables));
    if (name) {
        putU16(out, OffsetTableLayout::searchRange, 16);
        const std::int64_t record = sfnt::tableRecordAt(0, 0);
        putU32(out, record + TableRecordLayout::tableTag, 0x6E616D65); // "name"
        putU32(out, record + TableRecordLayout::offset, static_cast<std::uint32_t>(size));
        putU32(out, record + TableRecordLayout::length, name->length);
    }
    return out;
}

using Decoder = std::unique_ptr<BrotliDecoderState, decltype(&BrotliDecoderDestroyInstance)>;

// The brotli stream of the file's tables, inflated a chunk at a time and read from the file's
// pages as the decoder asks for input, never past the stream's declared end.
class TableStream {
public:
    TableStream(platform::FontFileReader& file, const Woff2Layout& layout)
        : file_(file), layout_(layout),
          decoder_(BrotliDecoderCreateInstance(nullptr, nullptr, nullptr),
                   &BrotliDecoderDestroyInstance) {
        if (!decoder_) {
            throw platform::Failure(platform::FailureNumber::OutOfMemory);
        }
    }

    // Inflates at most room bytes into chunk; the number inflated. A stream that fails, or
    // whose input ends while the decoder wants more, is broken; a decoder that cannot allocate
    // what it needs is out of memory.
    std::size_t inflate(std::uint8_t* chunk, std::size_t room) {
        if (input_.empty() && result_ == BROTLI_DECODER_RESULT_NEEDS_MORE_INPUT) {
            if (fed_ == layout_.compressedSize) {
                broken();
            }
            input_ = file_.pageFrom(static_cast<std::int64_t>(layout_.compressedAt + fed_) + 1);
            input_ =
                input_.first(std::min<std::uint64_t>(input_.size(), layout_.compressedSize - fed_));
            fed_ += input_.size();
        }
        std::size_t availableIn = input_.size();
        const std::uint8_t* nextIn = input_.data();
        std::size_t availableOut = room;
        result_ = BrotliDecoderDecompressStream(decoder_.get(), &availableIn, &nextIn,
                                                &availableOut, &chunk, nullptr);
        input_ = input_.last(availableIn);
        if (result_ == BROTLI_DECODER_RESULT_ERROR) {
            const BrotliDecoderErrorCode error = BrotliDecoderGetErrorCode(decoder_.get());
            if (error <= BROTLI_DECODER_ERROR_ALLOC_CONTEXT_MODES &&
                error >= BROTLI_DECODER_ERROR_ALLOC_BLOCK_TYPE_TREES) {
                throw platform::Failure(platform::FailureNumber::OutOfMemory);
            }
            broken();
        }
        return room - availableOut;
    }

    bool finished() const { return result_ == BROTLI_DECODER_RESULT_SUCCESS; }

private:
    platform::FontFileReader& file_;
    const Woff2Layout& layout_;
    Decoder decoder_;
    BrotliDecoderResult result_ = BROTLI_DECODER_RESULT_NEEDS_MORE_INPUT;
    std::span<const std::uint8_t> input_;
    std::uint64_t fed_ = 0;
};

// Inflates the stream up to the end of the `name` table and appends the table's bytes to out.
// The decoder is never given room for more than that, so a stream that would inflate further
// costs nothing. Where the name table is the last of the stream, the stream must end with it:
// it gets one byte of room more, which must stay unused.
void appendNameTable(platform::FontFileReader& file, const Woff2Layout& layout,
                     std::vector<std::uint8_t>& out) {
    const Woff2NameTable& name = *layout.name;
    const std::uint64_t end = name.streamOffset + name.length;
    const bool last = end == layout.streamLength;
    const std::uint64_t limit = last ? end + 1 : end;
    TableStream stream(file, layout);
    std::array<std::uint8_t, 64 * 1024> chunk{};
    std::uint64_t produced = 0;
    while (last ? !stream.finished() : produced < end) {
        if (stream.finished()) {
            broken(); // the stream ends before the table does
        }
        const auto room =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), limit - produced));
        const std::size_t got = stream.inflate(chunk.data(), room);
        // The part of this chunk that belongs to the name table.
        const std::uint64_t from = std::max(produced, name.streamOffset);
        const std::uint64_t to = std::min(produced + got, end);
        if (to > from) {
            out.insert(out.end(), chunk.begin() + static_cast<std::ptrdiff_t>(from - produced),
                       chunk.begin() + static_cast<std::ptrdiff_t>(to - produced));
        }
        produced += got;
        if (produced > end) {
            broken(); // inflates past the lengths the directory declares
        }
    }
    if (produced != end) {
        broken(); // the stream ends before the table does
    }
}

} // namespace

std::vector<std::uint8_t> woff2Sfnt(platform::FontFileReader& file) {
    const Woff2Layout layout = readWoff2Layout(file);
    std::vector<std::uint8_t> out = sfntHeader(layout.flavor, layout.name);
    if (layout.name) {
        appendNameTable(file, layout, out);
    }
    return out;
}

} // namespace truetype
