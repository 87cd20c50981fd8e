#include "HeadlessChromium.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>

namespace chromium {

namespace {

constexpr const char* kChromium = "/usr/bin/chromium";

// The switches of every run: no sandbox (tests may run as root), no GPU, nothing fetched from
// the network on Chromium's own account.
std::vector<std::string> baseArguments(const testsupport::TempDir& profile) {
    return {kChromium,
            "--headless",
            "--no-sandbox",
            "--disable-gpu",
            "--disable-quic",
            "--no-first-run",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--hide-scrollbars",
            "--user-data-dir=" + profile.str()};
}

// Runs Chromium with the switches of every run and these, and returns its standard output.
std::string run(std::vector<std::string> switches) {
    const testsupport::TempDir profile;
    std::vector<std::string> arguments = baseArguments(profile);
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    return outputOf(arguments);
}

bool nonEmptyFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::file_size(path, error) > 0 && !error;
}

} // namespace

const std::string& startProblem() {
    static const std::string problem = [] {
        if (!std::filesystem::exists(kChromium)) {
            return std::string("no /usr/bin/chromium (Debian: chromium)");
        }
        const testsupport::TempDir profile;
        std::vector<std::string> arguments = baseArguments(profile);
        arguments.push_back("--dump-dom");
        arguments.push_back("data:text/html,<p>started</p>");
        const std::string errors = profile.file("errors.txt");
        if (outputOf(arguments, errors).find("<p>started</p>") != std::string::npos) {
            return std::string();
        }
        std::string said = testsupport::readFile(errors);
        if (said.size() > 600) {
            said.erase(0, said.size() - 600);
        }
        return said.insert(0, "Chromium does not start here: ");
    }();
    return problem;
}

std::string dom(const std::string& url) {
    return run({"--dump-dom", url});
}

// The virtual time budget lets the page's fonts load before the picture is taken.
bool screenshot(const std::string& url, const std::string& png, int width, int height) {
    run({"--virtual-time-budget=5000", "--run-all-compositor-stages-before-draw",
         "--window-size=" + std::to_string(width) + "," + std::to_string(height),
         "--screenshot=" + png, url});
    return nonEmptyFile(png);
}

bool printToPdf(const std::string& url, const std::string& pdf) {
    run({"--virtual-time-budget=5000", "--no-pdf-header-footer", "--print-to-pdf=" + pdf, url});
    return nonEmptyFile(pdf);
}

std::string fileUrl(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') ||
            std::string_view("/-._~").find(c) != std::string::npos) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}

std::string decodedPercents(const std::string& href) {
    std::string path;
    for (std::size_t i = 0; i < href.size(); ++i) {
        if (href[i] == '%' && i + 2 < href.size()) {
            path += static_cast<char>(std::stoi(href.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += href[i];
        }
    }
    return path;
}

std::string outputOf(const std::vector<std::string>& arguments, const std::string& errors) {
    // Made before the fork: the child of a process with threads may only make system calls.
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const char* errorPath = errors.empty() ? "/dev/null" : errors.c_str();
    std::array<int, 2> pipe{};
    if (argv.size() < 2 || ::pipe2(pipe.data(), O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipe[1], STDOUT_FILENO);
        ::dup2(::open(errorPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600), STDERR_FILENO);
        ::dup2(::open("/dev/null", O_RDONLY | O_CLOEXEC), STDIN_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipe[1]);
    std::string output;
    std::array<char, 65536> buffer{};
    for (ssize_t got; (got = ::read(pipe[0], buffer.data(), buffer.size())) != 0;) {
        if (got > 0) {
            output.append(buffer.data(), static_cast<std::size_t>(got));
        } else if (errno != EINTR) {
            break;
        }
    }
    ::close(pipe[0]);
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return output;
}

} // namespace chromium
