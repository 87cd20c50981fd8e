// Faults of the system under the batch runs - a full disk, a read-only file system, an
// immutable file, a file that goes away, many failed reads - and what must hold through them:
// the failure is reported, nothing is left half-written under a new name, and the fonts the
// user listed are byte for byte as they were.
//
// The mount cases need root: they run in a private mount namespace of this test process (each
// test is a process of its own under ctest), so their small file systems are seen by nobody
// else and go away with it. Without the privilege they are skipped with the reason.
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fontcore/FullName.h"
#include "fontlist/CopyAndRename.h"
#include "fontlist/HtmlFontList.h"
#include "platform/FileSystem.h"
#include "platform/TextFileWriter.h"
#include "support/FailureNumber.h"
#include "support/PfbWriter.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "truetype/NameTableReader.h"
#include "truetype/NameTableReport.h"
#include "type1/HeaderReport.h"
#include "type1/HeaderWindow.h"

namespace {

namespace fs = std::filesystem;
using fontlist::Answer;
using fontlist::SpacesOption;
using testsupport::failureNumberOf;
using testsupport::readFile;
using testsupport::ScriptedHost;
using testsupport::TempDir;
using Names = std::set<std::string>;

const std::string kAlreadyExists = "/Friendly directory already exists. Fonts with the same "
                                   "name\r\nwill be overwitten, except those flagged "
                                   "read-only.OK to proceed?";
const std::string kPageHelp =
    "This attempts to create a file called _fonts.html in the current.\r\n"
    "directory. If _fonts.html already exists, make sure it is not read-only";
const std::string kHtmlTitle = "Create HTML File With Friendly Font Names";

// Why this process cannot mount file systems of its own; empty when it can. The first call
// moves the process into a private mount namespace.
std::string whyNoPrivateMounts() {
    static const std::string reason = []() -> std::string {
        if (::geteuid() != 0) {
            return "needs root to mount file systems";
        }
        if (::unshare(CLONE_NEWNS) != 0) {
            return std::string("no private mount namespace: ") + std::strerror(errno);
        }
        // Nothing mounted from here on may reach the rest of the system.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return std::string("mounts cannot be made private: ") + std::strerror(errno);
        }
        return "";
    }();
    return reason;
}

#define REQUIRE_PRIVATE_MOUNTS()                                                                   \
    if (const std::string why = whyNoPrivateMounts(); !why.empty()) {                              \
        GTEST_SKIP() << why;                                                                       \
    }

// A file system mounted on a directory for the length of a test; detached again at the end.
class Mount {
public:
    // A tmpfs holding at most the given number of bytes.
    static Mount tmpfs(const std::string& directory, std::size_t bytes) {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        if (::mount("quillvane-test", directory.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            throw std::runtime_error("mounting a tmpfs: " + std::string(std::strerror(errno)));
        }
        return Mount(directory);
    }
    // The directory itself again, read-only.
    static Mount readOnlyView(const std::string& directory) {
        if (::mount(directory.c_str(), directory.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            throw std::runtime_error("bind mount: " + std::string(std::strerror(errno)));
        }
        Mount mount(directory);
        mount.makeReadOnly();
        return mount;
    }

    Mount(Mount&& other) noexcept : directory_(std::exchange(other.directory_, {})) {}
    Mount& operator=(Mount&&) = delete;
    ~Mount() {
        if (!directory_.empty()) {
            ::umount2(directory_.c_str(), MNT_DETACH);
        }
    }

    void makeReadOnly() {
        if (::mount(nullptr, directory_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                    nullptr) != 0) {
            throw std::runtime_error("remounting read-only: " + std::string(std::strerror(errno)));
        }
    }

private:
    explicit Mount(std::string directory) : directory_(std::move(directory)) {}
    std::string directory_;
};

// The immutable attribute of a file (chattr +i), taken away again at the end so that the file
// can be removed. Not every file system has it.
class Immutable {
public:
    explicit Immutable(const std::string& path) : path_(path) { set(true); }
    ~Immutable() {
        if (active_) {
            set(false);
        }
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    bool active() const { return active_; }
    const std::string& why() const { return why_; }

private:
    void set(bool on) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            why_ = std::strerror(errno);
            return;
        }
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0) {
                active_ = on;
            } else {
                why_ = std::strerror(errno);
            }
        } else {
            why_ = std::strerror(errno);
        }
        ::close(fd);
    }

    std::string path_;
    bool active_ = false;
    std::string why_;
};

struct FileState {
    std::string bytes;
    fs::file_time_type written;
    bool operator==(const FileState&) const = default;
};

// Every regular file of a directory (not below it) with its bytes and time of writing.
std::map<std::string, FileState> filesIn(const fs::path& dir) {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files[entry.path().filename().string()] = {readFile(entry.path().string()),
                                                       entry.last_write_time()};
        }
    }
    return files;
}

Names namesIn(const fs::path& dir) {
    Names names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> textsOf(const ScriptedHost& host) {
    std::vector<std::string> texts;
    for (const fontlist::UserMessage& message : host.messages) {
        texts.push_back(message.text);
    }
    return texts;
}

// A browsed directory with three TrueType fonts; the second is large (1 MiB of tables that the
// name reader never looks at).
struct ThreeFonts {
    TempDir dir;
    std::string alpha = testsupport::trueTypeFontNamed(u"Alpha");
    std::string beta = testsupport::trueTypeFontNamed(u"Beta") + std::string(1 << 20, 'b');
    std::string gamma = testsupport::trueTypeFontNamed(u"Gamma");
    std::string friendly = dir.file("friendly");

    ThreeFonts() {
        dir.write("a.ttf", alpha);
        dir.write("b.ttf", beta);
        dir.write("c.ttf", gamma);
    }
};

// --- Copy/Rename -----------------------------------------------------------------------------

TEST(FaultCopy, AFullDiskEndsTheRunAndLeavesNoPartialCopy) {
    REQUIRE_PRIVATE_MOUNTS();
    ThreeFonts fonts;
    fs::create_directory(fonts.friendly);
    const Mount small = Mount::tmpfs(fonts.friendly, 64 * 1024);
    fonts.dir.write("friendly/Beta.ttf", "an older copy");
    const auto before = filesIn(fonts.dir.path());

    ScriptedHost host(fonts.dir.str());
    host.answers = {Answer::Yes}; // the copies may replace those of an earlier run
    fontlist::BatchState state;
    fontlist::RenameFonts_Click(host, state, SpacesOption::NoChange);

    // The failure is shown with the file and the cause, and ends the run there.
    EXPECT_EQ(textsOf(host), (std::vector<std::string>{
                                 kAlreadyExists,
                                 "Error  61\r\nCould not copy " + fonts.dir.file("b.ttf") + " to " +
                                     fonts.friendly + "/Beta.ttf:\r\nNo space left on device"}));
    EXPECT_EQ(host.messages.back().title, "Font Copy and Renaming");
    // The copy that fit is whole; the one that did not left nothing, not even a temporary
    // file, and the older copy under its name is untouched.
    EXPECT_EQ(namesIn(fonts.friendly), (Names{"Alpha.ttf", "Beta.ttf"}));
    EXPECT_EQ(readFile(fonts.friendly + "/Alpha.ttf"), fonts.alpha);
    EXPECT_EQ(readFile(fonts.friendly + "/Beta.ttf"), "an older copy");
    EXPECT_EQ(filesIn(fonts.dir.path()), before);
}

TEST(FaultCopy, AReadOnlyFileSystemIsRefusedAndNothingIsWritten) {
    REQUIRE_PRIVATE_MOUNTS();
    const struct {
        const char* what;
        bool wholeDirectory; // else only the destination is read-only
        std::deque<Answer> answers;
        std::vector<std::string> messages;
    } cases[] = {
        // The destination exists (an earlier run) on a read-only file system: every copy is
        // refused as an access failure, which asks in the system's words; No ends the run.
        {"destination", false, {Answer::Yes, Answer::No}, {kAlreadyExists, "<copy>"}},
        // The browsed directory is read-only: the destination cannot be made (an access
        // failure, which asks), and Yes goes on to open a directory that is not there.
        {"browsed directory", true, {Answer::Yes}, {"<create>", "<open>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ThreeFonts fonts;
        std::optional<Mount> mount;
        if (c.wholeDirectory) {
            mount.emplace(Mount::readOnlyView(fonts.dir.str()));
        } else {
            fs::create_directory(fonts.friendly);
            mount.emplace(Mount::tmpfs(fonts.friendly, 1024 * 1024));
            mount->makeReadOnly();
        }
        const auto before = filesIn(fonts.dir.path());

        ScriptedHost host(fonts.dir.str());
        host.answers = c.answers;
        fontlist::BatchState state;
        fontlist::RenameFonts_Click(host, state, SpacesOption::NoChange);

        std::vector<std::string> expected = c.messages;
        for (std::string& text : expected) {
            if (text == "<copy>") {
                text = "Could not copy " + fonts.dir.file("a.ttf") + " to " + fonts.friendly +
                       "/Alpha.ttf:\r\nRead-only file system\r\nOK to proceed?";
            } else if (text == "<open>") {
                text = "Error  76\r\nCould not open " + fonts.friendly +
                       ":\r\nNo such file or directory";
            } else if (text == "<create>") {
                text = "Could not create " + fonts.friendly +
                       ":\r\nRead-only file system\r\nOK to proceed?";
            }
        }
        EXPECT_EQ(textsOf(host), expected);
        EXPECT_EQ(filesIn(fonts.dir.path()), before);
        EXPECT_TRUE(!fs::exists(fonts.friendly) || namesIn(fonts.friendly).empty());
    }
}

TEST(FaultCopy, AnImmutableTargetIsReportedAndKept) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a file immutable";
    }
    ThreeFonts fonts;
    fs::create_directory(fonts.friendly);
    const std::string older = fonts.dir.write("friendly/Alpha.ttf", "an older copy");
    const Immutable locked(older);
    if (!locked.active()) {
        GTEST_SKIP() << "no immutable files on this file system: " << locked.why();
    }
    const auto before = filesIn(fonts.dir.path());

    ScriptedHost host(fonts.dir.str());
    host.answers = {Answer::Yes};
    fontlist::BatchState state;
    fontlist::RenameFonts_Click(host, state, SpacesOption::NoChange);

    // Replacing it is refused by the system (permission denied), which ends the run.
    EXPECT_EQ(textsOf(host),
              (std::vector<std::string>{kAlreadyExists, "Error  70\r\nCould not copy " +
                                                            fonts.dir.file("a.ttf") + " to " +
                                                            fonts.friendly +
                                                            "/Alpha.ttf:\r\nOperation not "
                                                            "permitted"}));
    EXPECT_EQ(namesIn(fonts.friendly), (Names{"Alpha.ttf"}));
    EXPECT_EQ(readFile(older), "an older copy");
    EXPECT_EQ(filesIn(fonts.dir.path()), before);
}

// Removes a listed file once the click has read the list, before the run reaches it.
class VanishingHost : public ScriptedHost {
public:
    VanishingHost(std::string directory, std::string victim)
        : ScriptedHost(std::move(directory)), victim_(std::move(victim)) {}
    void refreshFileList() override {
        ScriptedHost::refreshFileList();
        if (!victim_.empty()) {
            fs::remove(victim_);
            victim_.clear();
        }
    }

private:
    std::string victim_;
};

// A font that cannot be read is passed over and named at the end with the cause; the run
// copies the others and its outcome counts it.
TEST(FaultCopy, ASourceThatGoesAwayIsNamedAtTheEndAndTheRunGoesOn) {
    ThreeFonts fonts;
    VanishingHost host(fonts.dir.str(), fonts.dir.file("b.ttf"));
    fontlist::BatchState state;
    const fontlist::BatchOutcome outcome =
        fontlist::RenameFonts_Click(host, state, SpacesOption::NoChange);

    EXPECT_EQ(textsOf(host), (std::vector<std::string>{
                                 "Finished.\r\n\r\n1 font was left incomplete because a file "
                                 "could not be read: b.ttf (No such file or directory)."}));
    EXPECT_EQ(outcome.end, fontlist::RunEnd::Finished);
    EXPECT_EQ(outcome.fontsIncomplete, 1u);
    EXPECT_EQ(namesIn(fonts.friendly), (Names{"Alpha.ttf", "Gamma.ttf"}));
    EXPECT_EQ(readFile(fonts.friendly + "/Alpha.ttf"), fonts.alpha);
    EXPECT_EQ(readFile(fonts.dir.file("a.ttf")), fonts.alpha);
    EXPECT_EQ(readFile(fonts.dir.file("c.ttf")), fonts.gamma);
}

// A source whose size says nothing of what it yields (a link to a file under /proc) would be
// copied until the disk is full: it is refused with its cause at the end, and nothing is left
// behind.
TEST(FaultCopy, ASourceOnAFileSystemOfNoRealSizesIsRefused) {
    if (!fs::exists("/proc/self/pagemap")) {
        GTEST_SKIP() << "no /proc/self/pagemap here";
    }
    ThreeFonts fonts;
    fs::create_symlink("/proc/self/pagemap", fonts.dir.file("x.ttf"));
    ScriptedHost host(fonts.dir.str());
    host.answers = {Answer::Yes};
    fontlist::BatchState state;

    const fontlist::BatchOutcome outcome =
        fontlist::RenameFonts_Click(host, state, SpacesOption::NoChange);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.starts_with("Finished.\r\n\r\n1 font was left incomplete "
                                                  "because a file could not be read: x.ttf (it "
                                                  "lies on a system file system"))
        << host.messages[0].text;
    EXPECT_EQ(outcome.fontsIncomplete, 1u);
    EXPECT_EQ(namesIn(fonts.friendly), (Names{"Alpha.ttf", "Beta.ttf", "Gamma.ttf"}));
}

// The source that the copy step below truncates while it is copied.
std::string truncatedSource;

void truncateMidCopy(const std::string& source) {
    if (source == truncatedSource) {
        fs::resize_file(source, 4096);
    }
}

// A source cut short between the copy's open and its end gives no copy that matches neither
// version: nothing is put in place, and the font is counted with the cause.
TEST(FaultCopy, ASourceTruncatedWhileCopiedIsNotPutInPlace) {
    ThreeFonts fonts;
    truncatedSource = fonts.dir.file("b.ttf");
    platform::fs::setStepBeforeCopyingBytes(truncateMidCopy);
    ScriptedHost host(fonts.dir.str());
    fontlist::BatchState state;
    const fontlist::BatchOutcome outcome =
        fontlist::RenameFonts_Click(host, state, SpacesOption::NoChange);
    platform::fs::setStepBeforeCopyingBytes(nullptr);

    EXPECT_EQ(textsOf(host), (std::vector<std::string>{
                                 "Finished.\r\n\r\n1 font was left incomplete because a file "
                                 "could not be read: b.ttf (it changed while it was copied (its "
                                 "size or contents are not those it had when opened))."}));
    EXPECT_EQ(outcome.fontsIncomplete, 1u);
    EXPECT_EQ(namesIn(fonts.friendly), (Names{"Alpha.ttf", "Gamma.ttf"}));
}

// A Type 1 font's optional companion that a full disk stops is told and counted, not passed
// over in silence.
TEST(FaultCopy, ACompanionThatDoesNotFitIsToldAndCounted) {
    REQUIRE_PRIVATE_MOUNTS();
    TempDir dir;
    dir.write("s.pfb", testsupport::pfbFont(testsupport::typicalClearText("Sans")));
    dir.write("s.pfm", "metrics");
    dir.write("s.afm", std::string(256 * 1024, 'a'));
    fs::create_directory(dir.file("friendly"));
    const Mount small = Mount::tmpfs(dir.file("friendly"), 64 * 1024);
    ScriptedHost host(dir.str());
    host.answers = {Answer::Yes};
    fontlist::BatchState state;

    const fontlist::BatchOutcome outcome =
        fontlist::RenameFonts_Click(host, state, SpacesOption::NoChange);

    EXPECT_EQ(textsOf(host), (std::vector<std::string>{
                                 kAlreadyExists,
                                 "Could not copy " + dir.file("s.afm") + " to " +
                                     dir.file("friendly/Sans.afm") + ":\r\nNo space left on device",
                                 "Finished.\r\n\r\n1 font was left incomplete (not "
                                 "copied, or copied without a companion file); the "
                                 "messages before this one say why."}));
    EXPECT_EQ(outcome.end, fontlist::RunEnd::Finished);
    EXPECT_EQ(outcome.fontsIncomplete, 1u);
    EXPECT_EQ(namesIn(dir.file("friendly")), (Names{"Sans.pfb", "Sans.pfm"}));
}

// --- The HTML list ---------------------------------------------------------------------------

TEST(FaultHtml, AFullDiskIsReportedAndTheNextRunWorks) {
    REQUIRE_PRIVATE_MOUNTS();
    TempDir dir;
    const std::string browsed = dir.file("fonts");
    fs::create_directory(browsed);
    const Mount small = Mount::tmpfs(browsed, 256 * 1024);
    dir.write("fonts/a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    dir.write("fonts/b.pfb", testsupport::pfbFont(testsupport::typicalClearText("Beta")));
    {
        // Fill what is left (a hidden file, which the list does not show).
        std::ofstream filler(browsed + "/.filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
            filler.flush();
        }
    }
    const auto before = filesIn(browsed);

    ScriptedHost host(browsed);
    fontlist::BatchState state;
    fontlist::CreateHTMLFontList_Click(host, state, SpacesOption::NoChange);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, kHtmlTitle);
    EXPECT_TRUE(host.messages[0].text.starts_with("Disk full\r\n\r\n")) << host.messages[0].text;
    EXPECT_EQ(host.messages[0].icon, fontlist::MessageIcon::Critical);
    EXPECT_EQ(host.progress.back(), "Quillvane");
    EXPECT_FALSE(host.buttonsDisabled);
    // Only the two files of the list were touched (what they hold is not settled).
    auto after = filesIn(browsed);
    after.erase("_fonts.html");
    after.erase("_report.txt");
    EXPECT_EQ(after, before);

    // With room again, the same run writes both files.
    fs::remove(browsed + "/.filler");
    ScriptedHost again(browsed);
    fontlist::CreateHTMLFontList_Click(again, state, SpacesOption::NoChange);
    ASSERT_EQ(again.messages.size(), 1u);
    EXPECT_TRUE(again.messages[0].text.starts_with("Created ")) << again.messages[0].text;
    EXPECT_NE(readFile(browsed + "/_fonts.html").find(">Alpha</A>"), std::string::npos);
}

constexpr uid_t kNobody = 65534;

// Runs the HTML list over dir as the second user; checks that it ended failed with exactly the
// one message given and left both earlier files (and no other) as they were.
void listAsSecondUserAndExpect(const TempDir& dir, const std::string& message) {
    const std::string page = dir.file("_fonts.html");
    const std::string report = dir.file("_report.txt");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(2);
        }
        ScriptedHost host(dir.str());
        fontlist::BatchState state;
        const fontlist::RunEnd end =
            fontlist::CreateHTMLFontList_Click(host, state, SpacesOption::NoChange).end;
        ::_exit(end == fontlist::RunEnd::Failed && textsOf(host) == std::vector{message} ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: another message; 2: could not become the user";
    EXPECT_EQ(readFile(page), "an older page");
    EXPECT_EQ(readFile(report), "an older report");
    EXPECT_EQ(namesIn(dir.path()), (Names{"a.ttf", "_fonts.html", "_report.txt"}));
}

// Run as another user who may replace the page but not the report (the report is root's, the
// directory open to all): the run is refused and both earlier files stay as they were.
TEST(FaultHtml, AReportAnotherUserMayNotWriteLeavesBothEarlierFiles) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the list as a second user";
    }
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    const std::string page = dir.write("_fonts.html", "an older page");
    const std::string report = dir.write("_report.txt", "an older report");
    ASSERT_EQ(::chown(page.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(report.c_str(), 0644), 0);
    listAsSecondUserAndExpect(dir, "Permission denied\r\n\r\n" + report);
}

// In a shared folder (sticky bit), the runner owns the report but another user the page, which
// its mode would let anyone write: the sticky bit keeps the runner from replacing it, and the
// run must not have replaced the report by then.
TEST(FaultHtml, InAStickyFolderAPageOfAnotherUserLeavesBothFilesAsTheyWere) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the list as a second user";
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.str().c_str(), 01777), 0);
    dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    const std::string page = dir.write("_fonts.html", "an older page");
    const std::string report = dir.write("_report.txt", "an older report");
    ASSERT_EQ(::chmod(page.c_str(), 0666), 0);
    ASSERT_EQ(::chown(report.c_str(), kNobody, kNobody), 0);
    listAsSecondUserAndExpect(dir, "Permission denied\r\n\r\n" + kPageHelp);
}

TEST(FaultHtml, ReadOnlyAndImmutableFilesAreReportedAndLeftAlone) {
    TempDir dir;
    dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    const std::string page = dir.write("_fonts.html", "an older page");

    // A read-only file system: the page cannot be created, and the message says why.
    if (whyNoPrivateMounts().empty()) {
        const Mount readOnly = Mount::readOnlyView(dir.str());
        ScriptedHost host(dir.str());
        fontlist::BatchState state;
        fontlist::CreateHTMLFontList_Click(host, state, SpacesOption::NoChange);
        EXPECT_EQ(textsOf(host),
                  (std::vector<std::string>{
                      "Path/File access error: Read-only file system\r\n\r\n" + kPageHelp}));
        EXPECT_EQ(namesIn(dir.path()), (Names{"a.ttf", "_fonts.html"}));
    }

    // An immutable page: the system refuses to replace it.
    if (::geteuid() == 0) {
        const Immutable locked(page);
        if (locked.active()) {
            ScriptedHost host(dir.str());
            fontlist::BatchState state;
            fontlist::CreateHTMLFontList_Click(host, state, SpacesOption::NoChange);
            EXPECT_EQ(textsOf(host),
                      (std::vector<std::string>{"Permission denied\r\n\r\n" + kPageHelp}));
        }
    }
    EXPECT_EQ(readFile(page), "an older page");
    EXPECT_FALSE(fs::exists(dir.file("_report.txt")));
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root for read-only mounts and immutable files";
    }
}

// --- Handles ---------------------------------------------------------------------------------

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST(FaultHandles, TenThousandFailedReadsAndCopiesLeaveNoDescriptorOpen) {
    if (!fs::is_directory("/proc/self/fd")) {
        GTEST_SKIP() << "no /proc/self/fd to count open files";
    }
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.ttf").c_str(), 0600), 0);
    fs::create_directory(dir.file("folder.ttf"));
    testsupport::NameTableLayout overflow{0, {{3, 1, 0x0409, 4, "x"}}};
    overflow.records[0].length = 0x8000;
    const std::vector<std::string> badFiles{
        dir.file("missing.ttf"),
        dir.file("pipe.ttf"),
        dir.file("folder.ttf"),
        dir.write("empty.ttf", ""),
        dir.write("text.ttf", "not a font"),
        dir.write("overflow.ttf", testsupport::trueTypeFont(overflow)),
        dir.write("one.pfb", "\x80"),
        dir.write("nofullname.pfb", testsupport::pfbFont("%!PS-AdobeFont-1.0\r")),
    };
    const std::string readOnly = dir.write("readonly.ttf", "old");
    fs::permissions(readOnly, fs::perms::owner_read);
    const std::string font = dir.write("font.ttf", testsupport::trueTypeFontNamed(u"Font"));
    const std::vector<std::function<int()>> failedCopies{
        [&] {
            return failureNumberOf([&] { platform::fs::copyFile(badFiles[0], dir.file("t")); });
        },
        [&] {
            return failureNumberOf([&] { platform::fs::copyFile(badFiles[1], dir.file("t")); });
        },
        [&] {
            return failureNumberOf([&] { platform::fs::copyFile(badFiles[2], dir.file("t")); });
        },
        [&] { return failureNumberOf([&] { platform::fs::copyFile(font, readOnly); }); },
        [&] { return failureNumberOf([&] { platform::fs::copyFile(font, dir.file("no/t")); }); },
        [&] {
            return failureNumberOf([&] { platform::fs::copyFile(font, dir.file("folder.ttf")); });
        },
        [&] { return failureNumberOf([&] { platform::TextFileWriter(dir.file("no/page")); }); },
    };

    const std::size_t before = openDescriptors();
    int failures = 0;
    for (int i = 0; i < 10'000; ++i) {
        const std::string& path = badFiles[static_cast<std::size_t>(i) % badFiles.size()];
        const bool trueType = path.ends_with(".ttf");
        switch (i % 5) {
        case 0: {
            const fontcore::FullName name =
                trueType ? truetype::TTEnglishName(path) : type1::T1Name(path);
            failures += name.failure.has_value();
            break;
        }
        case 1:
        case 2: {
            const fontcore::FontReport report =
                trueType ? truetype::TTReport(path) : type1::T1Report(path);
            failures += !report.text.starts_with("NAME Table Info for ") &&
                        !report.text.starts_with("Name info for ");
            break;
        }
        default: failures += failedCopies[static_cast<std::size_t>(i) % failedCopies.size()]() != 0;
        }
    }
    EXPECT_EQ(failures, 10'000) << "every one of them failed";
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_FALSE(fs::exists(dir.file("t")));
    EXPECT_EQ(readFile(readOnly), "old");
}

} // namespace
