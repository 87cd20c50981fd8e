#include "platform/TemporaryFile.h"

#include <atomic>
#include <cerrno>

#include "platform/Failure.h"
#include "platform/TemporaryFileCalls.h"
#include "platform/TemporaryFileCleanup.h"

namespace platform {

using namespace temporary_file;

namespace {

// Tells the files of one process apart; the process id tells processes apart.
std::atomic<unsigned> counter{0};

std::string temporaryName() {
    return ".quillvane-" + std::to_string(processId()) + "-" + std::to_string(counter++) + ".tmp";
}

} // namespace

TemporaryFile::TemporaryFile(const std::string& target) {
    create(directoryPartOf(target));
}

TemporaryFile::TemporaryFile(const fs::HeldDirectory& directory) : directory_(&directory) {
    // Registered by the path the directory had: a file left in a directory moved away is the
    // next run's there to sweep.
    create(directory.path());
}

void TemporaryFile::create(const std::string& directoryPath) {
    for (int attempt = 0;; ++attempt) {
        const std::string name = temporaryName();
        std::string path = directoryPath + name;
        // Entered before it exists, so that no moment passes in which a signal would leave it.
        slot_ = enterTemporaryFile(path);
        fd_ = UniqueFd(createNew(directory_, directory_ != nullptr ? name : path));
        if (fd_.valid()) {
            name_ = directory_ != nullptr ? name : path;
            path_ = std::move(path);
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
    if (!name_.empty()) {
        removeFile(directory_, name_);
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
    rename(directory_, name_, target);
    name_.clear();
    leaveTemporaryFile(slot_);
    slot_ = -1;
    if (durable) {
        if (directory_ != nullptr) {
            syncHeldDirectory(*directory_);
        } else {
            syncDirectory(directoryPartOf(target));
        }
    }
}

void TemporaryFile::abandon() noexcept {
    (void)fd_.close();
    name_.clear();
    leaveTemporaryFile(slot_);
    slot_ = -1;
}

} // namespace platform
