#include "cli/StopOnInterrupt.h"

#include <csignal>

namespace {

// Written by the handler only, which may do nothing else than this and put the default back.
volatile std::sig_atomic_t interrupted = 0;

} // namespace

extern "C" {

static void askToStop(int /*signal*/) {
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}
}

namespace cli {

StopOnInterrupt::StopOnInterrupt() {
    interrupted = 0;
    previous_ = std::signal(SIGINT, askToStop);
    if (previous_ == SIG_IGN) {
        std::signal(SIGINT, SIG_IGN);
    }
}

StopOnInterrupt::~StopOnInterrupt() {
    if (previous_ != SIG_ERR) {
        std::signal(SIGINT, previous_);
    }
}

bool StopOnInterrupt::asked() noexcept {
    return interrupted != 0;
}

} // namespace cli
