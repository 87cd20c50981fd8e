#include "platform/FileSystem.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "platform/CopyFailureCauses.h"
#include "platform/Failure.h"
#include "platform/FileIdentity.h"
#include "platform/NativePath.h"
#include "platform/TemporaryFile.h"
#include "platform/WindowsApi.h"
#include "platform/WindowsFailure.h"

namespace platform::fs {

using namespace cause;
using path::native;

namespace {

// The failure for a path that is not there: 53 for a missing file or directory on the way to
// it, 76 when a file stands where a directory of the path should be (as on POSIX systems).
Failure missingPathFailure(const std::filesystem::path& path) {
    return path::blockedByFile(path) ? Failure(FailureNumber::PathNotFound)
                                     : Failure(FailureNumber::FileNotFound);
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_DIRECTORY;
}

DWORD attributesOrThrow(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        throw isMissing(error) ? missingPathFailure(path) : failureFromWindowsError(error);
    }
    return attributes;
}

bool isReadOnly(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool isDirectory(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

Attributes fileAttributes(const std::string& path) {
    const DWORD attributes = attributesOrThrow(native(path));
    return Attributes{isDirectory(attributes), isReadOnly(attributes)};
}

std::uint64_t fileLength(const std::string& path) {
    const std::filesystem::path file = native(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) == 0) {
        const DWORD error = ::GetLastError();
        throw isMissing(error) ? missingPathFailure(file) : failureFromWindowsError(error);
    }
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

void createDirectory(const std::string& path) {
    if (::CreateDirectoryW(native(path).c_str(), nullptr) != 0) {
        return;
    }
    const DWORD error = ::GetLastError();
    // A missing parent is a missing path; an existing file or directory of that name is 75,
    // with the cause a POSIX system gives it.
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        throw Failure(FailureNumber::PathFileAccess, EEXIST);
    }
    throw error == ERROR_FILE_NOT_FOUND ? Failure(FailureNumber::PathNotFound)
                                        : failureFromWindowsError(error);
}

namespace {

void (*stepBeforeCopyingBytes)(const std::string&) = nullptr;

// Whether a failed CopyFileW concerns its source, as far as Windows tells: the source is gone,
// or another program holds it so that it cannot be read. Anything else is the destination's.
bool sourceFailed(DWORD error) {
    return isMissing(error) || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_CRC || error == ERROR_READ_FAULT;
}

// The size and time of writing of a file, to tell whether it changed; none when they cannot be
// read.
std::optional<std::pair<std::uint64_t, std::uint64_t>>
sizeAndTime(const std::filesystem::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) == 0) {
        return std::nullopt;
    }
    return std::pair{(std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
                     (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                         data.ftLastWriteTime.dwLowDateTime};
}

// What stands at the copy's name: whether the copy may replace it, or the copy is not made.
std::optional<CopyResult> checkTarget(const std::string& source, const std::string& target,
                                      const ProtectedFiles* guarded) {
    const DWORD targetAttributes = ::GetFileAttributesW(native(target).c_str());
    if (targetAttributes == INVALID_FILE_ATTRIBUTES) {
        if (const DWORD error = ::GetLastError(); !isMissing(error)) {
            throw failureFromWindowsError(error);
        }
        return std::nullopt;
    }
    const std::optional<FileIdentity> sourceIdentity = identityOf(source);
    if (sourceIdentity && sourceIdentity == identityOf(target)) {
        return CopyResult::SameFile;
    }
    if (guarded != nullptr && guarded->holdsEntryAt(target)) {
        return CopyResult::TargetGuarded;
    }
    // Checked here, before anything is written.
    if (isDirectory(targetAttributes)) {
        throw Failure(FailureNumber::PathFileAccess, kDirectoryTarget);
    }
    if (isReadOnly(targetAttributes)) {
        throw Failure(FailureNumber::PathFileAccess, kReadOnlyTarget);
    }
    return std::nullopt;
}

} // namespace

void setStepBeforeCopyingBytes(void (*step)(const std::string& source)) noexcept {
    stepBeforeCopyingBytes = step;
}

CopyResult copyFile(const std::string& source, const std::string& target,
                    const ProtectedFiles* guarded, bool durable) {
    const std::filesystem::path from = native(source);
    // Only files are copied: a directory or a device is an access failure.
    DWORD sourceAttributes = 0;
    try {
        sourceAttributes = attributesOrThrow(from);
    } catch (const Failure& failure) {
        throw SourceFailure(failure);
    }
    if (isDirectory(sourceAttributes) || (sourceAttributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        throw SourceFailure(Failure(FailureNumber::PathFileAccess, kNotRegular));
    }
    if (const std::optional<CopyResult> notCopied = checkTarget(source, target, guarded)) {
        return *notCopied;
    }

    TemporaryFile copy(target);
    copy.close(false);
    // Made anew under the temporary file's name: CopyFileW gives the source's attributes,
    // read-only among them, to a file it creates, not reliably to one it overwrites. The
    // temporary file removes a read-only copy too when it is not put in place.
    const std::filesystem::path temporary = native(copy.path());
    ::DeleteFileW(temporary.c_str());
    const auto before = sizeAndTime(from);
    if (stepBeforeCopyingBytes != nullptr) {
        stepBeforeCopyingBytes(source);
    }
    if (::CopyFileW(from.c_str(), temporary.c_str(), TRUE) == 0) {
        const DWORD error = ::GetLastError();
        if (sourceFailed(error)) {
            throw SourceFailure(isMissing(error) ? Failure(FailureNumber::FileNotFound)
                                                 : failureFromWindowsError(error));
        }
        throw failureFromWindowsError(error);
    }
    // The copy is of one version of the source: its size and time then, and the copy's size.
    const auto after = sizeAndTime(from);
    const auto copied = sizeAndTime(temporary);
    if (!before || before != after || !copied || copied->first != before->first) {
        throw SourceFailure(Failure(FailureNumber::PathFileAccess, kChangedWhileCopied));
    }
    if (guarded != nullptr && guarded->holdsEntryAt(target)) {
        return CopyResult::TargetGuarded;
    }
    copy.putInPlace(target, durable);
    return CopyResult::Copied;
}

// Windows writes through the directory's path: before each copy the path is checked to lead to
// the directory still. A swap during one copy is not seen here; the run's own check before its
// closing steps tells it.
CopyResult copyFile(const std::string& source, const HeldDirectory& directory,
                    const std::string& name, const ProtectedFiles* guarded, bool durable,
                    FileIdentity* made) {
    if (!directory.stillAtItsPath()) {
        throw Failure(FailureNumber::PathNotFound);
    }
    const std::string target = directory.path() + name;
    const CopyResult result = copyFile(source, target, guarded, durable);
    if (made != nullptr && result == CopyResult::Copied) {
        *made = identityOf(target).value_or(FileIdentity{});
    }
    return result;
}

void requireListableDirectory(const std::string& path) {
    const std::filesystem::path directory = native(path);
    const DWORD attributes = ::GetFileAttributesW(directory.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        throw isMissing(error) ? Failure(FailureNumber::PathNotFound)
                               : failureFromWindowsError(error);
    }
    if (!isDirectory(attributes)) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileExW((directory / L"*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return; // listable, only empty (a drive's root has no "." entry)
        }
        throw failureFromWindowsError(error);
    }
    ::FindClose(search);
}

void adviseWillNeed(const std::string&) noexcept {
    // Windows reads ahead by itself within a file; there is no advice across files.
}

std::string realPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(native(path), error);
    return error ? path : path::utf8(resolved.lexically_normal().make_preferred());
}
} // namespace platform::fs
