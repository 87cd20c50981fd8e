#include "cli/StopOnInterrupt.h"

#include <csignal>

namespace {

// Written by the handler only, which may do nothing else than this and put the earlier action
// back.
volatile std::sig_atomic_t interrupted = 0;

#ifndef _WIN32
// The action SIGINT had before (the one that removes the run's temporary files and ends the
// tool): a second Ctrl+C takes it.
struct sigaction earlierAction {};
#endif

} // namespace

extern "C" {

static void askToStop(int /*signal*/) {
    interrupted = 1;
#ifndef _WIN32
    ::sigaction(SIGINT, &earlierAction, nullptr);
#else
    std::signal(SIGINT, SIG_DFL);
#endif
}
}

namespace cli {

#ifndef _WIN32

StopOnInterrupt::StopOnInterrupt() {
    interrupted = 0;
    if (::sigaction(SIGINT, nullptr, &earlierAction) != 0 || earlierAction.sa_handler == SIG_IGN) {
        return; // a background job keeps ignoring it
    }
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    installed_ = ::sigaction(SIGINT, &action, nullptr) == 0;
}

StopOnInterrupt::~StopOnInterrupt() {
    if (installed_) {
        ::sigaction(SIGINT, &earlierAction, nullptr);
    }
}

#else

StopOnInterrupt::StopOnInterrupt() {
    interrupted = 0;
    const auto earlier = std::signal(SIGINT, askToStop);
    installed_ = earlier != SIG_ERR;
    if (earlier == SIG_IGN) {
        std::signal(SIGINT, SIG_IGN);
        installed_ = false;
    }
}

StopOnInterrupt::~StopOnInterrupt() {
    if (installed_) {
        std::signal(SIGINT, SIG_DFL);
    }
}

#endif

bool StopOnInterrupt::asked() noexcept {
    return interrupted != 0;
}

} // namespace cli
