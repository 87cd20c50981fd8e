#include "CliProcess.h"

#include "support/TempDir.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <atomic>
#include <stdexcept>
#include <string_view>
#include <system_error>

extern char** environ;

namespace clitest {

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

class FileActions {
public:
    FileActions() {
        if (posix_spawn_file_actions_init(&actions_) != 0) {
            fail("posix_spawn_file_actions_init");
        }
    }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    void open(int fd, const std::string& path, int flags) {
        if (posix_spawn_file_actions_addopen(&actions_, fd, path.c_str(), flags, 0600) != 0) {
            fail("posix_spawn_file_actions_addopen");
        }
    }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
};

// A pseudo-terminal. The child opens the slave by its name; this side keeps the slave open as
// well, so that what the child wrote just before it ended stays readable on the master (once
// every slave descriptor is closed, a read on the master may fail before the last output is
// read).
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            fail("posix_openpt");
        }
        slaveName_ = ::ptsname(master_);
        slave_ = ::open(slaveName_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0) {
            fail("open the terminal's slave side");
        }
    }
    ~PseudoTerminal() {
        ::close(slave_);
        ::close(master_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return master_; }
    const std::string& slaveName() const { return slaveName_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
};

// Reads the terminal while the child runs (so that it never blocks on a full terminal) and,
// once `childEnded` is set, what is left, until a read finds nothing more.
std::string drain(int master, const std::atomic<bool>& childEnded) {
    std::string shown;
    char buffer[4096];
    const auto readAvailable = [&] {
        for (;;) {
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0) {
                shown.append(buffer, static_cast<std::size_t>(got));
            } else if (got < 0 && errno == EINTR) {
                continue;
            } else {
                return; // EAGAIN: nothing more for now
            }
        }
    };
    if (::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
        fail("fcntl");
    }
    for (;;) {
        const bool ended = childEnded.load();
        pollfd readable{master, POLLIN, 0};
        const int ready = ::poll(&readable, 1, ended ? 0 : 20);
        if (ready < 0 && errno != EINTR) {
            fail("poll");
        }
        // A read with nothing in the terminal's buffer first waits for output still on its
        // way there, so after the child has ended one read that finds nothing finds the end.
        readAvailable();
        if (ended) {
            return shown;
        }
    }
}

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            fail("waitpid");
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// This process's environment with the given entries in place of those of the same names.
std::vector<std::string> environmentWith(const std::vector<std::string>& entries) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const std::string_view name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& given : entries) {
            replaced = replaced || given.starts_with(name);
        }
        if (!replaced) {
            environment.emplace_back(text);
        }
    }
    environment.insert(environment.end(), entries.begin(), entries.end());
    return environment;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

CliResult runCli(const std::vector<std::string>& arguments, Input input, const std::string& typed,
                 const std::vector<std::string>& environment) {
    const testsupport::TempDir captured;
    const std::string outPath = captured.file("out");
    const std::string errPath = captured.file("err");

    FileActions actions;
    actions.open(STDOUT_FILENO, outPath, O_WRONLY | O_CREAT | O_TRUNC);

    std::vector<std::string> argv{QUILLVANE_CLI_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::vector<char*> pointers = pointersTo(argv);
    std::vector<std::string> childEnvironment = environmentWith(environment);
    const std::vector<char*> environmentPointers = pointersTo(childEnvironment);

    CliResult result;
    pid_t child = 0;
    if (input != Input::Null) {
        PseudoTerminal terminal;
        actions.open(STDIN_FILENO, terminal.slaveName(), O_RDWR);
        if (input == Input::AllOnTerminal) { // opened again: on the terminal instead
            actions.open(STDOUT_FILENO, terminal.slaveName(), O_RDWR);
        }
        actions.open(STDERR_FILENO, terminal.slaveName(), O_RDWR);
        if (!typed.empty() && ::write(terminal.master(), typed.data(), typed.size()) < 0) {
            fail("write to the terminal");
        }
        if (::posix_spawn(&child, pointers[0], actions.get(), nullptr, pointers.data(),
                          environmentPointers.data()) != 0) {
            fail("posix_spawn");
        }
        std::string shown;
        std::atomic<bool> childEnded{false};
        std::thread reader([&] { shown = drain(terminal.master(), childEnded); });
        result.status = waitFor(child);
        childEnded = true;
        reader.join();
        result.err = shown;
    } else {
        actions.open(STDIN_FILENO, "/dev/null", O_RDONLY);
        actions.open(STDERR_FILENO, errPath, O_WRONLY | O_CREAT | O_TRUNC);
        if (::posix_spawn(&child, pointers[0], actions.get(), nullptr, pointers.data(),
                          environmentPointers.data()) != 0) {
            fail("posix_spawn");
        }
        result.status = waitFor(child);
        result.err = testsupport::readFile(errPath);
    }
    result.out = testsupport::readFile(outPath);
    return result;
}

} // namespace clitest
