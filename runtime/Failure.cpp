#include "runtime/Failure.h"

#include <cerrno>
#include <new>
#include <string>

namespace runtime {

std::string_view failureDescription(FailureNumber number) noexcept {
    switch (number) {
#define QUILLVANE_FAILURE_CASE(name, number, description)                                          \
    case FailureNumber::name: return description;
        QUILLVANE_FAILURES(QUILLVANE_FAILURE_CASE)
#undef QUILLVANE_FAILURE_CASE
    }
    return "Application-defined or object-defined error";
}

Failure::Failure(FailureNumber number)
    : std::runtime_error(std::string(failureDescription(number))), number_(number) {}

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
