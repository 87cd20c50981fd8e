// The duplicate finder's tiers and its suggestion of the copy to keep, over scanned files made
// by hand; and the scan's reading of what the tiers compare.
#include "fontlist/DuplicateTiers.h"
#include "fontlist/DuplicateScan.h"
#include "fontlist/VersionOrder.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using fontlist::DuplicateTier;
using fontlist::KeepReason;
using fontlist::ScannedFile;

ScannedFile file(std::size_t order, std::string font, std::string version, std::size_t depth = 0) {
    ScannedFile scanned;
    scanned.paths = {"f" + std::to_string(order)};
    scanned.order = order;
    scanned.depth = depth;
    scanned.opened = scanned.named = true;
    scanned.sameFontKey = font + "|" + version;
    scanned.familyKey = font;
    scanned.version = std::move(version);
    return scanned;
}

TEST(DuplicateTiers, VersionsCompareByRevisionThenNumberByNumber) {
    struct Case {
        std::optional<std::uint32_t> revisionA, revisionB;
        const char* versionA;
        const char* versionB;
        int expected;
    };
    const Case cases[] = {
        {0x00020000, 0x00018000, "Version 1.0", "Version 9.0", 1},   // the revision first
        {0x00010000, 0x00010000, "Version 1.2", "Version 1.10", -1}, // equal: the text decides
        {std::nullopt, 0x00010000, "Version 2.010; ttfautohint (v1.8)", "Version 2.9", 1},
        {std::nullopt, std::nullopt, "001.003", "1.3", 0},
        {std::nullopt, std::nullopt, "Version 1.0", "Version 1.0.1", -1},
        {std::nullopt, std::nullopt, "beta", "", 0},
    };
    for (const Case& c : cases) {
        ScannedFile a = file(0, "F", c.versionA);
        ScannedFile b = file(1, "F", c.versionB);
        a.fontRevision = c.revisionA;
        b.fontRevision = c.revisionB;
        EXPECT_EQ(fontlist::compareVersions(a, b), c.expected) << c.versionA << " / " << c.versionB;
        EXPECT_EQ(fontlist::compareVersions(b, a), -c.expected) << c.versionA;
    }
}

TEST(DuplicateTiers, EachRuleOfTheSuggestionDecidesWhenTheOnesBeforeItTie) {
    // Newest version beats more companions, which beats the shallower folder, which beats order.
    std::vector<ScannedFile> files{file(0, "F", "1.0", 0), file(1, "F", "1.0", 3),
                                   file(2, "F", "1.0", 1), file(3, "F", "1.0", 2)};
    files[1].companions = {".pfm"};
    const auto keepOf = [&](std::vector<std::size_t> members) {
        const std::vector<fontlist::DuplicateGroup> groups =
            fontlist::findDuplicateGroups(files, {std::move(members)}, {});
        return std::pair(groups.at(0).keep, groups.at(0).why);
    };
    EXPECT_EQ(keepOf({0, 2, 3}), std::pair(std::size_t{0}, KeepReason::ShallowestFolder));
    EXPECT_EQ(keepOf({0, 1, 2}), std::pair(std::size_t{1}, KeepReason::MostCompanions));
    files[3].version = "1.1";
    EXPECT_EQ(keepOf({0, 1, 2, 3}), std::pair(std::size_t{3}, KeepReason::NewestVersion));
    files[1].depth = files[2].depth = 1;
    files[1].companions.clear();
    EXPECT_EQ(keepOf({1, 2}), std::pair(std::size_t{1}, KeepReason::FirstInList));
}

TEST(DuplicateTiers, EachTierTellsItsGroupsOnceAndHandsOnOnlyTheCopyKept) {
    std::vector<ScannedFile> files{
        file(0, "Sans", "2.0", 1),                            // 0 and 1: the same bytes
        file(1, "Sans", "2.0", 0), file(2, "Sans", "2.0", 2), // the same font saved again
        file(3, "Sans", "1.0"),                               // an older version
        file(4, "Serif", "1.0"),                              // alone
        file(5, "Serif", "1.0"), // the same font again, but not named: bytes alone
        file(6, "Mono", "1.0"),  // left out by the byte comparison
        file(7, "Mono", "2.0"),
    };
    files[5].named = false;
    std::vector<bool> leftOut(files.size());
    leftOut[6] = true;
    const std::vector<fontlist::DuplicateGroup> groups =
        fontlist::findDuplicateGroups(files, {{0, 1}}, leftOut);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].tier, DuplicateTier::SameBytes);
    EXPECT_EQ(groups[0].files, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(groups[0].keep, 1u);
    EXPECT_EQ(groups[1].tier, DuplicateTier::SameFont);
    EXPECT_EQ(groups[1].files, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(groups[2].tier, DuplicateTier::OtherVersions);
    EXPECT_EQ(groups[2].files, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(groups[2].newest, std::optional<std::size_t>{1});
}

TEST(DuplicateTiers, TheScanReadsTheHeadRevisionAndTheKeys) {
    testsupport::NameTableLayout names;
    for (const auto& [id, text] :
         {std::pair{1, u"Sans"}, {2, u"Bold"}, {5, u"Version 3.1"}, {6, u"Sans-Bold"}}) {
        names.records.push_back({3, 1, 0x0409, static_cast<std::uint16_t>(id),
                                 testsupport::utf16be(text), std::nullopt, std::nullopt});
    }
    std::string head(54, '\0');
    head.replace(4, 4, testsupport::bigEndian32(0x00031999));
    const testsupport::TempDir dir;
    const auto scan = [&](std::string_view name, std::vector<testsupport::TableLayout> tables) {
        const std::string path = dir.write(name, testsupport::trueTypeBytes({tables, {}}));
        const platform::ListingDirectory held(dir.str());
        const std::string leaf(name);
        return fontlist::scanFontFile({held, path, leaf.c_str()}, {});
    };
    const std::string nameTable = testsupport::nameTableBytes(names);
    const ScannedFile withHead = scan("a.ttf", {{"head", head, {}}, {"name", nameTable, {}}});
    EXPECT_TRUE(withHead.opened && withHead.named);
    EXPECT_EQ(withHead.fontRevision, std::optional<std::uint32_t>{0x00031999});
    EXPECT_EQ(withHead.version, "Version 3.1");
    const ScannedFile shortHead =
        scan("b.ttf", {{"head", head.substr(0, 6), {}}, {"name", nameTable, {}}});
    EXPECT_EQ(shortHead.fontRevision, std::nullopt);
    EXPECT_EQ(shortHead.sameFontKey, withHead.sameFontKey);
    EXPECT_EQ(shortHead.familyKey, withHead.familyKey);
    EXPECT_NE(withHead.sameFontKey, withHead.familyKey);
}

} // namespace
