#include "runtime/TemporaryFile.h"

#include <atomic>
#include <cerrno>

#include "runtime/Failure.h"
#include "runtime/TemporaryFileCalls.h"
#include "runtime/TemporaryFileCleanup.h"

namespace runtime {

using namespace temporary_file;

namespace {

// Tells the files of one process apart; the process id tells processes apart.
std::atomic<unsigned> counter{0};

} // namespace

TemporaryFile::TemporaryFile(const std::string& target) {
    const std::string prefix =
        directoryPartOf(target) + ".quillvane-" + std::to_string(processId()) + "-";
    for (int attempt = 0;; ++attempt) {
        std::string candidate = prefix + std::to_string(counter++) + ".tmp";
        // Entered before it exists, so that no moment passes in which a signal would leave it.
        slot_ = enterTemporaryFile(candidate);
        fd_ = UniqueFd(createNew(candidate));
        if (fd_.valid()) {
            path_ = std::move(candidate);
            return;
        }
        const int error = errno;
        leaveTemporaryFile(slot_);
        slot_ = -1;
        if (error != EEXIST || attempt >= 1000) {
            // Creating a file: a missing name can only be a missing directory.
            throw error == ENOENT ? Failure(FailureNumber::PathNotFound, error)
                                  : failureFromErrno(error);
        }
    }
}

TemporaryFile::~TemporaryFile() {
    (void)fd_.close();
    if (!path_.empty()) {
        removeFile(path_);
    }
    leaveTemporaryFile(slot_);
}

void TemporaryFile::close(bool durable) {
    if (!fd_.valid()) {
        return;
    }
    int error = durable ? syncFile(fd_.get()) : 0;
    const int closeError = fd_.close();
    if (error == 0) {
        error = closeError;
    }
    if (error != 0) {
        throw failureFromErrno(error);
    }
}

void TemporaryFile::putInPlace(const std::string& target, bool durable) {
    close(durable);
    rename(path_, target);
    path_.clear();
    leaveTemporaryFile(slot_);
    slot_ = -1;
    if (durable) {
        syncDirectory(directoryPartOf(target));
    }
}

void TemporaryFile::abandon() noexcept {
    (void)fd_.close();
    path_.clear();
    leaveTemporaryFile(slot_);
    slot_ = -1;
}

} // namespace runtime
