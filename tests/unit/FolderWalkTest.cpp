// The folder walk over trees built here: its order, what it leaves out, links, folders it
// cannot read, and depth beyond what a path can name. POSIX only (links, pipes, openat).
#include "platform/FolderWalk.h"

#include "platform/FontFileReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPatterns = "*.ttf;*.otf";

// What a walk told, one text per folder ("sub/: a.ttf b.ttf") and per trouble.
class Recorder : public platform::FolderVisitor {
public:
    std::vector<std::string> visits;
    std::vector<std::string> troubles;
    std::function<void(const platform::WalkedFolder&)> onVisit;

    void visit(const platform::WalkedFolder& folder) override {
        std::string line = std::string(folder.relative) + ":";
        for (const std::string& name : folder.files.strings()) {
            line += " " + name;
        }
        visits.push_back(line);
        if (onVisit) {
            onVisit(folder);
        }
    }
    void trouble(const platform::WalkTrouble& trouble) override {
        troubles.push_back((trouble.lost ? "lost " : "told ") + trouble.path + ": " +
                           trouble.cause);
    }
};

// A tree of folders in mixed case with files, hidden entries, a pipe named as a font, and links.
void buildTree(const testsupport::TempDir& dir) {
    dir.write("b.ttf", "b");
    dir.write("A.TTF", "a");
    dir.write("notes.txt", "n");
    dir.write(".hidden.ttf", "h");
    dir.write("Zeta/z.ttf", "z");
    dir.write("alpha/a.otf", "a");
    dir.write(".secret/s.ttf", "s");
    fs::create_directory(dir.path() / "beta");
    ASSERT_EQ(::mkfifo(dir.file("pipe.ttf").c_str(), 0600), 0);
    fs::create_symlink("alpha/a.otf", dir.path() / "link.ttf");
    fs::create_directory_symlink("alpha", dir.path() / "linked");
    fs::create_directory_symlink("..", dir.path() / "Zeta" / "up");
}

TEST(FolderWalk, WalksFilesThenSubFoldersInTheFileListsOrderLinksFollowedOnlyWhenAsked) {
    const testsupport::TempDir dir;
    buildTree(dir);
    struct Case {
        bool follow;
        std::vector<std::string> visits;
        std::vector<std::string> troubles;
    };
    const std::string top = dir.str();
    const std::vector<Case> cases = {
        {false, {": A.TTF b.ttf link.ttf", "alpha/: a.otf", "beta/:", "Zeta/: z.ttf"}, {}},
        // Followed: the link to alpha and the one back to the top are told once each, and
        // nothing is walked twice or lost.
        {true,
         {": A.TTF b.ttf link.ttf", "alpha/: a.otf", "beta/:", "Zeta/: z.ttf"},
         {"told " + top + "/linked: leads back to a folder already walked ('" + top +
              "/alpha'); not walked again",
          "told " + top + "/Zeta/up: leads back to a folder already walked ('" + top +
              "'); not walked again"}},
    };
    for (const Case& c : cases) {
        Recorder recorder;
        EXPECT_TRUE(platform::walkFolders(top, kPatterns, {.followLinks = c.follow}, recorder));
        EXPECT_EQ(recorder.visits, c.visits) << c.follow;
        EXPECT_EQ(recorder.troubles, c.troubles) << c.follow;
    }
}

TEST(FolderWalk, AFolderThatCannotBeReadIsToldAsLostAndTheWalkGoesOn) {
    const testsupport::TempDir dir;
    dir.write("a/x.ttf", "x");
    dir.write("b/y.ttf", "y");
    dir.write("c/z.ttf", "z");
    Recorder recorder;
    // b vanishes once the top has been read.
    recorder.onVisit = [&](const platform::WalkedFolder& folder) {
        if (folder.relative.empty()) {
            fs::remove_all(dir.path() / "b");
        }
    };
    EXPECT_FALSE(platform::walkFolders(dir.str(), kPatterns, {}, recorder));
    EXPECT_EQ(recorder.visits, (std::vector<std::string>{":", "a/: x.ttf", "c/: z.ttf"}));
    EXPECT_EQ(recorder.troubles,
              (std::vector<std::string>{"lost " + dir.file("b") + ": No such file or directory"}));
    if (::geteuid() != 0) { // permissions do not stop root
        fs::permissions(dir.path() / "c", fs::perms::none);
        Recorder denied;
        EXPECT_FALSE(platform::walkFolders(dir.str(), kPatterns, {}, denied));
        EXPECT_EQ(denied.troubles,
                  (std::vector<std::string>{"lost " + dir.file("c") + ": Permission denied"}));
    }
    Recorder missing;
    EXPECT_FALSE(platform::walkFolders(dir.file("none"), kPatterns, {}, missing));
    EXPECT_EQ(missing.troubles.size(), 1u);
}

// Folders nested deeper than a path can name, made and removed relative to each other.
class DeepTree {
public:
    static constexpr int kLevels = 25;
    explicit DeepTree(const std::string& top) : name_(200, 'd') {
        int parent = ::open(top.c_str(), O_RDONLY | O_DIRECTORY);
        fds_.push_back(parent);
        for (int level = 0; level < kLevels; ++level) {
            ::mkdirat(parent, name_.c_str(), 0700);
            parent = ::openat(parent, name_.c_str(), O_RDONLY | O_DIRECTORY);
            fds_.push_back(parent);
        }
        const int file = ::openat(parent, "deep.ttf", O_WRONLY | O_CREAT, 0600);
        EXPECT_EQ(::write(file, "deep", 4), 4);
        ::close(file);
    }
    ~DeepTree() {
        ::unlinkat(fds_.back(), "deep.ttf", 0);
        for (std::size_t i = fds_.size() - 1; i > 0; --i) {
            ::close(fds_[i]);
            ::unlinkat(fds_[i - 1], name_.c_str(), AT_REMOVEDIR);
        }
        ::close(fds_.front());
    }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    std::vector<int> fds_;
};

TEST(FolderWalk, ReachesFoldersDeeperThanAPathAndOpensTheirFilesFromTheTop) {
    const testsupport::TempDir dir;
    const DeepTree deep(dir.str());
    Recorder recorder;
    std::string deepest;
    recorder.onVisit = [&](const platform::WalkedFolder& folder) {
        if (folder.files.size() == 1) {
            deepest = std::string(folder.relative) + std::string(folder.files[0]);
            // Opened relative to the folder held open.
            const std::string path = folder.path + "deep.ttf";
            platform::FontFileReader font(platform::ListedFile{folder.directory, path, "deep.ttf"},
                                          nullptr);
            EXPECT_EQ(font.size(), 4u);
        }
    };
    EXPECT_TRUE(platform::walkFolders(dir.str(), kPatterns, {}, recorder));
    EXPECT_EQ(recorder.visits.size(), DeepTree::kLevels + 1u);
    ASSERT_GT(deepest.size(), 5000u);
    // The way down from the top is longer than an open takes: it goes folder by folder.
    const platform::ListingDirectory top(dir.str());
    const std::string path = dir.str() + "/" + deepest;
    platform::FontFileReader font(platform::ListedFile{top, path, deepest.c_str()}, nullptr);
    EXPECT_EQ(font.bytesAt(1, 4), "deep");
}

TEST(FolderWalk, OneFileSystemPassesOverFoldersOfAnotherSilently) {
    const testsupport::TempDir dir;
    struct stat here {};
    struct stat other {};
    if (::stat("/dev/shm", &other) != 0 || ::stat(dir.str().c_str(), &here) != 0 ||
        here.st_dev == other.st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const fs::path shmFolder = fs::path("/dev/shm") / dir.path().filename();
    fs::create_directory(shmFolder);
    dir.write("a.ttf", "a");
    fs::create_directory_symlink(shmFolder, dir.path() / "shm");
    Recorder recorder;
    EXPECT_TRUE(platform::walkFolders(dir.str(), kPatterns,
                                      {.followLinks = true, .oneFileSystem = true}, recorder));
    Recorder crossing;
    EXPECT_TRUE(platform::walkFolders(dir.str(), kPatterns, {.followLinks = true}, crossing));
    fs::remove_all(shmFolder);
    EXPECT_EQ(recorder.visits, (std::vector<std::string>{": a.ttf"}));
    EXPECT_TRUE(recorder.troubles.empty());
    EXPECT_EQ(crossing.visits, (std::vector<std::string>{": a.ttf", "shm/:"}));
}

} // namespace
