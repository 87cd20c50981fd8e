#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace runtime {

// The failure numbers this program raises and relies on. Their descriptions live in one
// table (Failure.cpp); a number outside it describes itself as "Application-defined or
// object-defined error".
enum class FailureNumber : int {
    InvalidArgument = 5,   // find or take with a position below 1 or a negative count
    Overflow = 6,          // 16-bit arithmetic beyond -32768..32767
    OutOfMemory = 7,       // an allocation failed
    InternalError = 51,    // any other unexpected exception inside a lookup
    FileNotFound = 53,     // opening, reading the attributes of, or copying from a missing file
    DeviceIoError = 57,    // the device failed while reading or writing
    DiskFull = 61,         // a write or copy that runs out of space
    BadRecordNumber = 63,  // a read at a file position below 1
    PermissionDenied = 70, // a file that may not be read or written
    PathFileAccess = 75,   // creating a directory that exists; replacing a read-only file; others
    PathNotFound = 76,     // a directory in the path does not exist
};

// The description of a failure number, e.g. 53 -> "File not found".
std::string_view failureDescription(int number);

// The one exception type of the core: a failure number with its description.
class Failure : public std::runtime_error {
public:
    explicit Failure(FailureNumber number);
    Failure(int number, std::string description);

    int number() const noexcept { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// Maps an errno value from a file operation to the failure it stands for.
// ENOENT -> 53, ENOTDIR -> 76, EACCES/EPERM -> 70, ENOSPC/EDQUOT -> 61, EIO -> 57,
// anything else (EEXIST, EROFS, EISDIR, ETXTBSY, ...) -> 75.
Failure failureFromErrno(int error);

// The failure that the exception in flight stands for: a Failure itself, std::bad_alloc as 7,
// anything else as 51. For the lookups, which turn every failure into a text and never throw.
// Call only inside a catch block.
Failure currentFailure() noexcept;

} // namespace runtime
