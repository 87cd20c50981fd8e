#include "platform/Failure.h"

#include <cerrno>
#include <new>
#include <string>
#include <system_error>

namespace platform {

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

Failure::Failure(FailureNumber number, int systemError) : Failure(number) {
    systemError_ = systemError;
}

Failure::Failure(FailureNumber number, const char* cause) : Failure(number) {
    cause_ = cause;
}

std::string Failure::cause() const {
    if (cause_ != nullptr) {
        return cause_;
    }
    if (systemError_ != 0) {
        return std::error_code(systemError_, std::generic_category()).message();
    }
    return description();
}

Failure failureFromErrno(int error) {
    switch (error) {
    case ENOENT: return Failure(FailureNumber::FileNotFound, error);
    case ENOTDIR: return Failure(FailureNumber::PathNotFound, error);
    case EACCES:
    case EPERM: return Failure(FailureNumber::PermissionDenied, error);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Failure(FailureNumber::DiskFull, error);
    case EIO: return Failure(FailureNumber::DeviceIoError, error);
    default: return Failure(FailureNumber::PathFileAccess, error);
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

} // namespace platform
