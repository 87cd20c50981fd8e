#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Every failure the program raises, one line each: its name in the code, its number and its
// description. The number is what users see in "Error  53"; the description is the text of a
// failure in messages, reports and a lookup's "error: " result. The enum and the descriptions
// below are both made from this one list.
#define QUILLVANE_FAILURES(FAILURE)                                                                \
    /* find or take with a position below 1 or a negative count */                                 \
    FAILURE(InvalidArgument, 5, "Invalid procedure call or argument")                              \
    /* 16-bit arithmetic beyond -32768..32767 */                                                   \
    FAILURE(Overflow, 6, "Overflow")                                                               \
    /* an allocation failed */                                                                     \
    FAILURE(OutOfMemory, 7, "Out of memory")                                                       \
    /* any other unexpected exception inside a lookup */                                           \
    FAILURE(InternalError, 51, "Internal error")                                                   \
    /* opening, reading the attributes of, or copying from a missing file */                       \
    FAILURE(FileNotFound, 53, "File not found")                                                    \
    /* the device failed while reading or writing */                                               \
    FAILURE(DeviceIoError, 57, "Device I/O error")                                                 \
    /* a write or copy that runs out of space */                                                   \
    FAILURE(DiskFull, 61, "Disk full")                                                             \
    /* a read at a file position below 1 */                                                        \
    FAILURE(BadRecordNumber, 63, "Bad record number")                                              \
    /* a file that may not be read or written */                                                   \
    FAILURE(PermissionDenied, 70, "Permission denied")                                             \
    /* creating a directory that exists; replacing a read-only file; other access failures */      \
    FAILURE(PathFileAccess, 75, "Path/File access error")                                          \
    /* a directory in the path does not exist */                                                   \
    FAILURE(PathNotFound, 76, "Path not found")

namespace platform {

enum class FailureNumber : int {
#define QUILLVANE_FAILURE_ENUMERATOR(name, number, description) name = (number),
    QUILLVANE_FAILURES(QUILLVANE_FAILURE_ENUMERATOR)
#undef QUILLVANE_FAILURE_ENUMERATOR
};

// The description of a failure, e.g. FileNotFound -> "File not found". A value outside the
// list (made by a cast) describes itself as "Application-defined or object-defined error".
std::string_view failureDescription(FailureNumber number) noexcept;

// The one exception type of the core: a failure of the list, with its description and, where
// the system or the program knows more, its cause: many causes share number 75, and a message
// that says "already exists" for a name that is too long would mislead.
class Failure : public std::runtime_error {
public:
    explicit Failure(FailureNumber number);
    // A failure the system reported with this errno value; its cause is the system's text.
    Failure(FailureNumber number, int systemError);
    // A failure whose cause the program itself found; the text must outlive the failure (a
    // literal).
    Failure(FailureNumber number, const char* cause);

    bool is(FailureNumber number) const noexcept { return number_ == number; }
    // The number as users see it, e.g. 53.
    int number() const noexcept { return static_cast<int>(number_); }
    std::string description() const { return what(); }
    // The errno value the system reported, or 0.
    int systemError() const noexcept { return systemError_; }
    // What went wrong in words: the program's own cause, else the system's text for the errno
    // value ("File name too long"), else the description.
    std::string cause() const;

private:
    FailureNumber number_;
    int systemError_ = 0;
    const char* cause_ = nullptr;
};

// Maps an errno value from a file operation to the failure it stands for, keeping the value.
// ENOENT -> 53, ENOTDIR -> 76, EACCES/EPERM -> 70, ENOSPC/EDQUOT -> 61, EIO -> 57,
// anything else (EEXIST, EROFS, EISDIR, ETXTBSY, ENAMETOOLONG, ...) -> 75.
Failure failureFromErrno(int error);

// The failure that the exception in flight stands for: a Failure itself, std::bad_alloc as 7,
// anything else as 51. For the lookups, which turn every failure into a value and never throw.
// Call only inside a catch block.
Failure currentFailure() noexcept;

} // namespace platform
