// The window's memory while it walks down a folder of fonts with "Font samples" on: the real
// window (offscreen unless a platform is named), the box ticked, then the Down key sent to the
// file list once a step, the events processed after each, as a person holding the arrow key
// does. Prints the resident memory and the open descriptors at the start, after each
// thousand steps and at the end, and the median and 95th percentile of a step's time.
//   quillvane_bench_samplewalk DIR [STEPS]
#include "app/Form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The process's resident memory in KiB, from /proc/self/status.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

long openDescriptors() {
    std::error_code error;
    const auto entries = std::filesystem::directory_iterator("/proc/self/fd", error);
    return error ? -1
                 : std::distance(std::filesystem::begin(entries), std::filesystem::end(entries));
}

double at(std::vector<double> times, double fraction) {
    if (times.empty()) {
        return 0;
    }
    std::sort(times.begin(), times.end());
    return times[static_cast<std::size_t>(fraction * static_cast<double>(times.size() - 1))];
}

void report(int step, const std::string& shown) {
    std::printf("%7d steps: resident %8.1f MiB, %3ld descriptors open, showing %s\n", step,
                static_cast<double>(residentKiB()) / 1024.0, openDescriptors(), shown.c_str());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: quillvane_bench_samplewalk DIR [STEPS]\n");
        return 2;
    }
    const int steps = argc == 3 ? std::atoi(argv[2]) : 20000;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    app::Form1 window(app::Form1::Services{argv[1], {}, nullptr});
    window.show();
    QApplication::processEvents();
    auto* samples = window.findChild<QCheckBox*>(QStringLiteral("chkFontSamples"));
    auto* files = window.findChild<QListView*>(QStringLiteral("File1"));
    if (samples == nullptr || files == nullptr) {
        std::fprintf(stderr, "samplewalk: the window has no chkFontSamples or File1\n");
        return 1;
    }
    samples->click();
    files->setFocus();
    QApplication::processEvents();
    report(0, window.state().FontPath);

    std::vector<double> times; // milliseconds per step
    times.reserve(static_cast<std::size_t>(std::max(steps, 0)));
    for (int step = 1; step <= steps; ++step) {
        const auto start = std::chrono::steady_clock::now();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(files, &press);
        QApplication::sendEvent(files, &release);
        QApplication::processEvents();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        if (step % 1000 == 0 || step == steps) {
            report(step, window.state().FontPath);
        }
    }
    std::printf("step time: median %.2f ms, 95th percentile %.2f ms\n", at(times, 0.5),
                at(times, 0.95));
    return 0;
}
