#pragma once

#include <exception>
#include <future>
#include <system_error>

namespace platform {

// Runs first on a thread of its own and second on this one, and returns once both have
// ended; where no thread can be had, first runs here after second. What first threw is
// raised, else what second threw: both always run to their end.
template <typename First, typename Second>
void sideBySide(First&& first, Second&& second) {
    const auto runFirst = [&first] { first(); };
    std::future<void> firstDone;
    try {
        firstDone = std::async(std::launch::async, runFirst);
    } catch (const std::system_error&) {
        firstDone = std::async(std::launch::deferred, runFirst);
    }
    std::exception_ptr secondFailure;
    try {
        second();
    } catch (...) {
        secondFailure = std::current_exception();
    }
    firstDone.get();
    if (secondFailure) {
        std::rethrow_exception(secondFailure);
    }
}

} // namespace platform
