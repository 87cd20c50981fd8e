#include "fontlist/FontRows.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/PathText.h"
#include "support/ScriptedConversation.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "text/TextList.h"

namespace {

using fontlist::FontRows;
using fontlist::GroupPlace;
using fontlist::SpacesOption;

// After the sort, each row's name, key and length still belong to one file: a length taken by
// listed place for a sorted row would report another file's size in the report.
TEST(FontRows, SortingByKeyKeepsEachRowWhole) {
    testsupport::TempDir dir;
    const std::string zeta = dir.write("a.ttf", testsupport::trueTypeFontNamed(u"Zeta"));
    const std::string alpha = dir.write("b.ttf", testsupport::trueTypeFontNamed(u"Alpha"));
    dir.write("c.ttf", "This is no font, just some text.\n");
    const std::string gone = dir.write("d.ttf", testsupport::trueTypeFontNamed(u"Gone"));
    const std::string same = dir.write("e.ttf", testsupport::trueTypeFontNamed(u"ALPHA"));
    text::TextList names;
    for (const char* name : {"a.ttf", "b.ttf", "c.ttf", "d.ttf", "e.ttf"}) {
        names.push_back(name);
    }
    std::filesystem::remove(gone);
    testsupport::ScriptedConversation conversation(dir.str());
    const std::string directory = dir.str() + platform::path::separator;

    FontRows rows = fontlist::lookUpRows(conversation, directory, names, SpacesOption::NoChange,
                                         fontcore::NameDecoding::ByteWise);
    EXPECT_EQ(conversation.progress, (std::vector<std::string>{" 4", " 3", " 2", " 1", " 0"}));
    EXPECT_EQ(rows.unreadCount(), 1u);
    const std::vector<GroupPlace> places = rows.sortByKey(); // equal keys in the sort's order

    EXPECT_EQ(rows.keys().strings(),
              (std::vector<std::string>{"?c", "ALPHA", "Alpha", "error File not found", "Zeta"}));
    EXPECT_EQ(rows.names().strings(),
              (std::vector<std::string>{"c.ttf", "e.ttf", "b.ttf", "d.ttf", "a.ttf"}));
    EXPECT_EQ(rows.length(0, dir.file("c.ttf")), std::filesystem::file_size(dir.file("c.ttf")));
    EXPECT_EQ(rows.length(1, same), std::filesystem::file_size(same));
    EXPECT_EQ(rows.length(2, alpha), std::filesystem::file_size(alpha));
    EXPECT_THROW(rows.length(3, gone), platform::Failure);
    EXPECT_EQ(rows.length(4, zeta), std::filesystem::file_size(zeta));
    EXPECT_EQ(places,
              (std::vector<GroupPlace>{GroupPlace::Alone, GroupPlace::First, GroupPlace::Later,
                                       GroupPlace::Alone, GroupPlace::Alone}));
}

} // namespace
