// "duplicates" run whole over real files: the three tiers with hard links and folders, the
// suggestion's companion rule over Type 1 fonts, and the exit statuses.
#include "cli/DuplicatesCommand.h"
#include "cli/ExitStatus.h"
#include "fontlist/FontTypes.h"
#include "support/PfbWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testsupport::TempDir;

struct Found {
    int status = -1;
    std::vector<std::string> rows; // each TSV line after the header
    std::string err;
};

Found duplicatesIn(const std::string& directory, bool recursive) {
    cli::Request request;
    request.command = cli::Command::Duplicates;
    request.operands = {directory};
    request.pattern = fontlist::typeFilters().back().patterns; // every type
    request.recursive = recursive;
    request.duplicatesFormat = fontlist::DuplicatesFormat::Tsv;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::Console console{.in = in, .out = out, .err = err};
    Found found;
    found.status = cli::runDuplicatesCommand(request, console);
    found.err = err.str();
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        found.rows.push_back(line);
    }
    return found;
}

// A row cut to what these tests check: "group tier keep path", the path under the top, then
// newest, companions and missing companions, why and the other names where given.
std::string shortRow(const std::string& row, const std::string& top) {
    std::vector<std::string> fields(1);
    for (const char c : row) {
        if (c == '\t') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    const auto under = [&](const std::string& path) {
        return path.starts_with(top) ? path.substr(top.size() + 1) : path;
    };
    std::string shown = fields[0] + " " + fields[1] + " " + fields[2] + " " + under(fields[3]);
    for (const std::size_t i : {8, 9, 10, 11}) {
        shown += fields[i].empty() ? "" : " [" + fields[i] + "]";
    }
    for (std::size_t i = 12; i < fields.size(); ++i) {
        shown += fields[i].empty() ? "" : " +" + under(fields[i]);
    }
    return shown;
}

std::string sfnt(std::u16string_view family, std::u16string_view version, std::uint32_t revision,
                 std::string_view tail = {}) {
    testsupport::NameTableLayout names;
    const std::u16string postScriptName = std::u16string(family) + u"-Regular";
    for (const auto& [id, text] : {std::pair{std::uint16_t{1}, family},
                                   {std::uint16_t{2}, std::u16string_view(u"Regular")},
                                   {std::uint16_t{5}, version},
                                   {std::uint16_t{6}, std::u16string_view(postScriptName)}}) {
        names.records.push_back(
            {3, 1, 0x0409, id, testsupport::utf16be(text), std::nullopt, std::nullopt});
    }
    std::string head(54, '\0');
    head.replace(4, 4, testsupport::bigEndian32(revision));
    return testsupport::trueTypeBytes({{{"head", head, {}},
                                        {"name", testsupport::nameTableBytes(names), {}},
                                        {"post", std::string(tail), {}}},
                                       {}});
}

TEST(DuplicatesCommand, TiersOverATreeWithHardLinksTellEachFileOnce) {
    const TempDir dir;
    const std::string top = dir.str();
    const std::string a = dir.write("a.ttf", sfnt(u"Sans", u"Version 2.0", 0x20000));
    std::filesystem::create_hard_link(a, dir.file("c.ttf"));
    dir.write("sub/b.ttf", testsupport::readFile(a));
    dir.write("d.ttf", sfnt(u"Sans", u"Version 2.0", 0x20000, "saved again"));
    dir.write("sub/e.ttf", sfnt(u"Sans", u"Version 1.0", 0x10000));
    dir.write("f.ttf", sfnt(u"Serif", u"Version 1.0", 0x10000));

    const Found tree = duplicatesIn(top, true);
    EXPECT_EQ(tree.status, cli::kDuplicatesFound) << tree.err;
    std::vector<std::string> rows;
    for (const std::string& row : tree.rows) {
        rows.push_back(shortRow(row, top));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "1 1 yes a.ttf [shallowest folder] +c.ttf",
                        "1 1 no sub/b.ttf [shallowest folder]",
                        "2 2 yes a.ttf [first in list order] +c.ttf",
                        "2 2 no d.ttf [first in list order]",
                        "3 3 yes a.ttf [yes] [newest version] +c.ttf",
                        "3 3 no sub/e.ttf [no] [newest version]",
                    }));
    // The folder alone: a and c are one file, so only d is a duplicate of it.
    const Found folder = duplicatesIn(top, false);
    EXPECT_EQ(folder.status, cli::kDuplicatesFound);
    ASSERT_EQ(folder.rows.size(), 2u);
    EXPECT_EQ(shortRow(folder.rows[1], top), "1 2 no d.ttf [first in list order]");
}

TEST(DuplicatesCommand, TheCopyWithMoreCompanionsIsKeptOverTheShallowerOne) {
    const TempDir dir;
    const std::string font = testsupport::pfbFont(testsupport::typicalClearText("Test Sans"));
    dir.write("x.pfb", font);
    dir.write("x.afm", "metrics");
    dir.write("deep/er/x.pfb", font);
    dir.write("deep/er/X.PFM", "metrics");
    dir.write("deep/er/x.afm", "metrics");
    const Found found = duplicatesIn(dir.str(), true);
    EXPECT_EQ(found.status, cli::kDuplicatesFound) << found.err;
    ASSERT_EQ(found.rows.size(), 2u);
    EXPECT_EQ(shortRow(found.rows[0], dir.str()),
              "1 1 no x.pfb [.afm] [.pfm .inf .mmm] [has the most companions]");
    EXPECT_EQ(shortRow(found.rows[1], dir.str()),
              "1 1 yes deep/er/x.pfb [.pfm .afm] [.inf .mmm] [has the most companions]");
}

TEST(DuplicatesCommand, ExitStatusSaysNoneFoundOrIncompleteWhateverElseWasFound) {
    const TempDir dir;
    dir.write("a.ttf", sfnt(u"Sans", u"Version 1.0", 0x10000));
    dir.write("b.ttf", sfnt(u"Serif", u"Version 1.0", 0x10000));
    const Found none = duplicatesIn(dir.str(), false);
    EXPECT_EQ(none.status, cli::kSuccess) << none.err;
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.err, "");

    dir.write("c.ttf", sfnt(u"Sans", u"Version 1.0", 0x10000));
    dir.write("broken.ttf", "not a font at all, but the same bytes as its copy");
    dir.write("copy of broken.ttf", "not a font at all, but the same bytes as its copy");
    const Found damaged = duplicatesIn(dir.str(), false);
    EXPECT_EQ(damaged.status, cli::kNotFinished);
    EXPECT_NE(damaged.err.find("cannot read the names of '" + dir.file("broken.ttf") + "'"),
              std::string::npos)
        << damaged.err;
    // Compared by their bytes all the same, and the copies a and c still found.
    ASSERT_EQ(damaged.rows.size(), 4u);
    EXPECT_EQ(shortRow(damaged.rows[2], dir.str()), "2 1 yes broken.ttf [first in list order]");
}

} // namespace
