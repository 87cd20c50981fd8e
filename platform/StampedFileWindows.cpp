#include "platform/StampedFile.h"

#include "platform/FontFileReaderCalls.h"

namespace platform::stamped_file {

int openAgain(const std::string& path) {
    return font_file_reader::openForReading(path);
}

// The C runtime's descriptors take no advice on how they will be read.
void adviseSequential(int) noexcept {}

} // namespace platform::stamped_file
