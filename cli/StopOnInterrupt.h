#pragma once

namespace cli {

// While one lives (around a batch run), the first Ctrl+C (SIGINT) does not end the tool: it
// asks the run to stop after the font in hand, and puts the earlier action back, so that a
// second Ctrl+C ends the tool at once as it always did, its temporary files removed. A tool
// started with SIGINT ignored (a background job) keeps ignoring it. The earlier action is put
// back at the end.
class StopOnInterrupt {
public:
    StopOnInterrupt();
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

    // Whether a Ctrl+C came since the last one was made: a read of a flag, cheap enough to
    // be asked after every font.
    static bool asked() noexcept;

private:
    bool installed_ = false;
};

} // namespace cli
