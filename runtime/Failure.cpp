#include "runtime/Failure.h"

#include <array>
#include <cerrno>
#include <new>
#include <utility>

namespace runtime {

namespace {

struct Entry {
    int number;
    std::string_view description;
};

constexpr std::array<Entry, 11> kDescriptions{{
    {5, "Invalid procedure call or argument"},
    {6, "Overflow"},
    {7, "Out of memory"},
    {51, "Internal error"},
    {53, "File not found"},
    {57, "Device I/O error"},
    {61, "Disk full"},
    {63, "Bad record number"},
    {70, "Permission denied"},
    {75, "Path/File access error"},
    {76, "Path not found"},
}};

constexpr std::string_view kUnknown = "Application-defined or object-defined error";

} // namespace

std::string_view failureDescription(int number) {
    for (const Entry& entry : kDescriptions) {
        if (entry.number == number) {
            return entry.description;
        }
    }
    return kUnknown;
}

Failure::Failure(FailureNumber number)
    : Failure(static_cast<int>(number), std::string(failureDescription(static_cast<int>(number)))) {
}

Failure::Failure(int number, std::string description)
    : std::runtime_error(std::move(description)), number_(number) {}

Failure failureFromErrno(int error) {
    switch (error) {
    case ENOENT: return Failure(FailureNumber::FileNotFound);
    case ENOTDIR: return Failure(FailureNumber::PathNotFound);
    case EACCES:
    case EPERM: return Failure(FailureNumber::PermissionDenied);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Failure(FailureNumber::DiskFull);
    case EIO: return Failure(FailureNumber::DeviceIoError);
    default: return Failure(FailureNumber::PathFileAccess);
    }
}

Failure currentFailure() noexcept {
    try {
        throw;
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return Failure(FailureNumber::OutOfMemory);
    } catch (...) {
        return Failure(FailureNumber::InternalError);
    }
}

} // namespace runtime
