#pragma once

namespace cli {

// While one lives (around a batch run), the first Ctrl+C (SIGINT) does not end the tool: it
// asks the run to stop after the font in hand, and puts the default action back, so that a
// second Ctrl+C ends the tool at once as it always did. A tool started with SIGINT ignored
// (a background job) keeps ignoring it. The previous action is put back at the end.
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
    using Handler = void (*)(int);
    Handler previous_;
};

} // namespace cli
