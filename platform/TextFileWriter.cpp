#include "platform/TextFileWriter.h"

#include <cerrno>

#include "platform/Failure.h"
#include "platform/TextFileWriterCalls.h"
#include "text/Text.h"

namespace platform {

using namespace text_file_writer;

namespace {

// Output is handed to the system once this much has gathered.
constexpr std::size_t kFlushThreshold = 64 * 1024;
// A long file is written out to its device in steps of this much while it is being written.
constexpr std::uint64_t kWriteOutStep = 8 * 1024 * 1024;

// Writes all of buffer; 0 or the errno of the failure.
int writeAll(int fd, const std::string& buffer) {
    const char* data = buffer.data();
    std::size_t left = buffer.size();
    while (left > 0) {
        const long written = writeSome(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

// The new file is made only once the target is known to be replaceable.
const std::string& refused(const std::string& target) {
    refuseTarget(target);
    return target;
}

} // namespace

TextFileWriter::TextFileWriter(const std::string& targetPath)
    : target_(targetPath), file_(refused(target_)) {}

TextFileWriter::~TextFileWriter() = default;

void TextFileWriter::writeLine(std::string_view line) {
    if (file_.descriptor() < 0) {
        throw Failure(FailureNumber::PathFileAccess); // written after close
    }
    buffer_.append(line);
    buffer_.append(text::kCrLf);
    if (buffer_.size() >= kFlushThreshold) {
        flush();
    }
}

void TextFileWriter::flush() {
    const int error = writeAll(file_.descriptor(), buffer_);
    written_ += buffer_.size();
    // What could not be written is dropped either way: the failure is raised now, and the
    // file is not put in place.
    buffer_.clear();
    if (error != 0) {
        failed_ = true;
        throw failureFromErrno(error);
    }
    if (written_ - writtenOut_ >= kWriteOutStep) {
        startWritingOut(file_.descriptor(), writtenOut_, written_ - writtenOut_);
        writtenOut_ = written_;
    }
}

void TextFileWriter::close() {
    if (file_.descriptor() < 0) {
        return;
    }
    const int error = writeAll(file_.descriptor(), buffer_);
    buffer_.clear();
    try {
        if (error != 0) {
            throw failureFromErrno(error);
        }
        file_.keepModeOf(target_);
        file_.close(true);
    } catch (...) {
        failed_ = true;
        file_.close(false);
        throw;
    }
}

void TextFileWriter::prepare() {
    close();
    if (failed_) {
        // Lines were lost: the file must not replace the target.
        throw Failure(FailureNumber::PathFileAccess);
    }
    refuseTarget(target_);
}

void TextFileWriter::putInPlace() {
    file_.putInPlace(target_, true);
    committed_ = true;
}

void TextFileWriter::commit() {
    if (committed_) {
        return;
    }
    prepare();
    putInPlace();
}

void TextFileWriter::commitUndoably() {
    if (committed_) {
        return;
    }
    prepare();
    hadEarlier_ = exists(target_);
    if (hadEarlier_) {
        earlier_ = std::make_unique<TemporaryFile>(target_);
        earlier_->close(false);
        keepCopy(target_, earlier_->path());
    }
    putInPlace();
}

void TextFileWriter::undo() {
    if (!committed_) {
        return;
    }
    if (hadEarlier_) {
        try {
            earlier_->putInPlace(target_, true);
        } catch (...) {
            earlier_->abandon(); // the earlier file's only name now: it must not be removed
            throw;
        }
    } else {
        removeNewFile(target_);
        syncDirectory(directoryPartOf(target_));
    }
    committed_ = false;
}

} // namespace platform
