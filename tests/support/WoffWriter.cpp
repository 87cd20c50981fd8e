#include "support/WoffWriter.h"

#include "support/TrueTypeWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace testsupport {

namespace {

std::uint32_t read32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

std::uint16_t read16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(at)) << 8 |
                                      static_cast<unsigned char>(bytes.at(at + 1)));
}

std::uint32_t padded(std::size_t size) {
    return static_cast<std::uint32_t>((size + 3) & ~std::size_t{3});
}

} // namespace

std::string deflated(std::string_view bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("zlib compress2 failed");
    }
    out.resize(size);
    return out;
}

namespace {

// A raw deflate stream that continues over the bytes given, ending with a flush to a byte
// boundary (or the final block).
class RawDeflate {
public:
    RawDeflate() {
        if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) !=
            Z_OK) {
            throw std::runtime_error("zlib deflateInit2 failed");
        }
    }
    ~RawDeflate() { deflateEnd(&stream_); }
    RawDeflate(const RawDeflate&) = delete;
    RawDeflate& operator=(const RawDeflate&) = delete;

    std::string next(std::string_view bytes, int flush) {
        std::string out(deflateBound(&stream_, static_cast<uLong>(bytes.size())) + 64, '\0');
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream_.avail_in = static_cast<uInt>(bytes.size());
        stream_.next_out = reinterpret_cast<Bytef*>(out.data());
        stream_.avail_out = static_cast<uInt>(out.size());
        if (deflate(&stream_, flush) == Z_STREAM_ERROR || stream_.avail_in != 0) {
            throw std::runtime_error("zlib deflate failed");
        }
        out.resize(out.size() - stream_.avail_out);
        return out;
    }

private:
    z_stream stream_{};
};

} // namespace

std::string deflatedWithZeros(std::string_view bytes, std::uint32_t zeros) {
    // Once the window holds nothing but zeros, every further MiB of zeros deflates (after a
    // flush to a byte boundary) to the same bytes: those are repeated rather than made again.
    constexpr std::uint32_t kStep = 1U << 20;
    const std::string zeroStep(kStep, '\0');
    RawDeflate deflater;
    std::string out = "\x78\xDA" + deflater.next(bytes, Z_NO_FLUSH);
    std::uint32_t left = zeros;
    std::string last;
    uLong check = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()),
                          static_cast<uInt>(bytes.size()));
    const uLong stepCheck = adler32(1, reinterpret_cast<const Bytef*>(zeroStep.data()), kStep);
    for (int made = 0; left > kStep; left -= kStep, ++made) {
        const std::string step = made < 3 ? deflater.next(zeroStep, Z_SYNC_FLUSH) : last;
        if (made == 2 && step != last) {
            throw std::runtime_error("zlib's steps of zeros differ");
        }
        out += step;
        last = step;
        check = adler32_combine(check, stepCheck, kStep);
    }
    out += deflater.next(std::string_view(zeroStep).substr(0, left), Z_FINISH);
    check = adler32_combine(
        check, adler32(1, reinterpret_cast<const Bytef*>(zeroStep.data()), left), left);
    return out + bigEndian32(static_cast<std::uint32_t>(check));
}

std::string woffBytes(const WoffLayout& layout) {
    constexpr std::size_t kHeaderSize = 44;
    constexpr std::size_t kEntrySize = 20;
    const auto numTables = static_cast<std::uint16_t>(layout.tables.size());
    std::uint32_t sfntSize = 12 + 16U * numTables;
    std::uint32_t at = static_cast<std::uint32_t>(kHeaderSize + kEntrySize * numTables);
    std::string directory;
    std::string data;
    for (const WoffTableLayout& table : layout.tables) {
        directory += table.tag;
        directory += bigEndian32(table.offset.value_or(at));
        directory +=
            bigEndian32(table.compLength.value_or(static_cast<std::uint32_t>(table.stored.size())));
        directory += bigEndian32(table.origLength);
        directory += bigEndian32(table.origChecksum);
        data += table.stored;
        data.resize(padded(data.size()), '\0');
        at = static_cast<std::uint32_t>(kHeaderSize + kEntrySize * numTables + data.size());
        sfntSize += padded(table.origLength);
    }
    const auto fileSize = static_cast<std::uint32_t>(kHeaderSize + directory.size() + data.size());
    std::string header = layout.signature;
    header += bigEndian32(layout.flavor);
    header += bigEndian32(layout.length.value_or(fileSize));
    header += bigEndian16(numTables);
    header += bigEndian16(0); // reserved
    header += bigEndian32(layout.totalSfntSize.value_or(sfntSize));
    header += bigEndian16(1) + bigEndian16(0); // version of the WOFF file's contents
    header += std::string(20, '\0');           // no metadata, no private data
    return header + directory + data;
}

WoffLayout woffLayoutOf(std::string_view sfnt, bool compress) {
    WoffLayout layout{.flavor = read32(sfnt, 0)};
    const std::uint16_t numTables = read16(sfnt, 4);
    for (std::size_t i = 0; i < numTables; ++i) {
        const std::size_t entry = 12 + 16 * i;
        const std::uint32_t offset = read32(sfnt, entry + 8);
        const std::uint32_t length = read32(sfnt, entry + 12);
        const std::string raw(sfnt.substr(offset, length));
        std::string stored = compress ? deflated(raw) : raw;
        if (stored.size() >= raw.size()) {
            stored = raw;
        }
        layout.tables.push_back({.tag = std::string(sfnt.substr(entry, 4)),
                                 .stored = std::move(stored),
                                 .origLength = length,
                                 .origChecksum = read32(sfnt, entry + 4)});
    }
    return layout;
}

std::string woffFont(std::string_view sfnt, bool compress) {
    return woffBytes(woffLayoutOf(sfnt, compress));
}

} // namespace testsupport
