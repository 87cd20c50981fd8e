#include "drawing/FontFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <memory>

namespace drawing {

namespace {

// FreeType reads a face's fields a few bytes at a time; they are served from a window of the
// file read in pieces of this size.
constexpr unsigned long kWindowBytes = 16 * 1024;

// The stream and the descriptor it reads, handed to FreeType, which calls close exactly once:
// from FT_Done_Face, or from FT_Open_Face when it fails.
struct FileStream {
    FT_StreamRec stream{};
    int descriptor = -1;
    std::array<unsigned char, kWindowBytes> window{};
    unsigned long windowStart = 0;
    unsigned long windowBytes = 0; // how many bytes of the window hold the file's
};

// Reads count bytes at offset into buffer; fewer at the end of the file or on an error.
unsigned long readFile(const FileStream& file, unsigned long offset, unsigned char* buffer,
                       unsigned long count) {
    unsigned long done = 0;
    while (done < count) {
        const ssize_t got = ::pread(file.descriptor, buffer + done, count - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<unsigned long>(got);
    }
    return done;
}

unsigned long readAt(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                     unsigned long count) {
    auto* file = static_cast<FileStream*>(stream->descriptor.pointer);
    if (count == 0) {
        // A seek, which fails past the end (the position just after the last byte is valid).
        return offset > stream->size ? 1 : 0;
    }
    if (count > kWindowBytes) {
        return readFile(*file, offset, buffer, count);
    }
    if (offset < file->windowStart || offset + count > file->windowStart + file->windowBytes) {
        file->windowStart = offset;
        file->windowBytes = readFile(*file, offset, file->window.data(), kWindowBytes);
    }
    const unsigned long from = offset - file->windowStart;
    const unsigned long served =
        std::min(count, file->windowBytes - std::min(from, file->windowBytes));
    std::copy_n(file->window.data() + from, served, buffer);
    return served;
}

void closeStream(FT_Stream stream) {
    const std::unique_ptr<FileStream> file(static_cast<FileStream*>(stream->descriptor.pointer));
    ::close(file->descriptor);
}

} // namespace

FT_Error openFaceFromFile(FT_Library library, const std::string& path, long faceIndex,
                          FT_Face* face) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        return FT_Err_Cannot_Open_Resource;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<unsigned long long>(status.st_size) > ULONG_MAX) {
        ::close(descriptor);
        return FT_Err_Cannot_Open_Resource;
    }
    auto file = std::make_unique<FileStream>();
    file->descriptor = descriptor;
    file->stream.size = static_cast<unsigned long>(status.st_size);
    file->stream.descriptor.pointer = file.get();
    file->stream.read = readAt;
    file->stream.close = closeStream;
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = &file->stream;
    // From here FreeType owns the stream: its close callback frees it, on success or failure.
    static_cast<void>(file.release());
    return FT_Open_Face(library, &args, faceIndex, face);
}

} // namespace drawing
