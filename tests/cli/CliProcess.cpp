#include "CliProcess.h"

#include "support/TempDir.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <stdexcept>
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

// The master side of a pseudo-terminal; the child opens the slave by its name.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            fail("posix_openpt");
        }
        slaveName_ = ::ptsname(master_);
    }
    ~PseudoTerminal() { ::close(master_); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return master_; }
    const std::string& slaveName() const { return slaveName_; }

private:
    int master_ = -1;
    std::string slaveName_;
};

// Reads the terminal until the child has closed its side (read then fails with EIO).
std::string drain(int master) {
    std::string shown;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got > 0) {
            shown.append(buffer, static_cast<std::size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
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

} // namespace

CliResult runCli(const std::vector<std::string>& arguments, Input input, const std::string& typed) {
    const testsupport::TempDir captured;
    const std::string outPath = captured.file("out");
    const std::string errPath = captured.file("err");

    FileActions actions;
    actions.open(STDOUT_FILENO, outPath, O_WRONLY | O_CREAT | O_TRUNC);

    std::vector<std::string> argv{QUILLVANE_CLI_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);

    CliResult result;
    pid_t child = 0;
    if (input == Input::Terminal) {
        PseudoTerminal terminal;
        actions.open(STDIN_FILENO, terminal.slaveName(), O_RDWR);
        actions.open(STDERR_FILENO, terminal.slaveName(), O_RDWR);
        if (!typed.empty() && ::write(terminal.master(), typed.data(), typed.size()) < 0) {
            fail("write to the terminal");
        }
        if (::posix_spawn(&child, pointers[0], actions.get(), nullptr, pointers.data(), environ) !=
            0) {
            fail("posix_spawn");
        }
        std::string shown;
        std::thread reader([&] { shown = drain(terminal.master()); });
        result.status = waitFor(child);
        reader.join();
        result.err = shown;
    } else {
        actions.open(STDIN_FILENO, "/dev/null", O_RDONLY);
        actions.open(STDERR_FILENO, errPath, O_WRONLY | O_CREAT | O_TRUNC);
        if (::posix_spawn(&child, pointers[0], actions.get(), nullptr, pointers.data(), environ) !=
            0) {
            fail("posix_spawn");
        }
        result.status = waitFor(child);
        result.err = testsupport::readFile(errPath);
    }
    result.out = testsupport::readFile(outPath);
    return result;
}

} // namespace clitest
