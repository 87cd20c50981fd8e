#include "text/TextList.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using text::TextList;

TEST(TextList, KeepsEveryTextAcrossBlocksWhateverItsLength) {
    // Texts of every length up to the largest, so that blocks fill, grow and are passed over
    // for a text that does not fit their rest; empty texts where a block is full.
    TextList list;
    std::vector<std::string> expected;
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{4096},
                               TextList::kMaxTextLength, std::size_t{0}, std::size_t{70000},
                               TextList::kMaxTextLength, std::size_t{0}}) {
        expected.push_back(std::string(length, static_cast<char>('a' + expected.size())));
        list.push_back(expected.back());
    }
    for (int i = 0; i < 100000; ++i) {
        expected.push_back("name" + std::to_string(i));
        list.push_back(expected.back());
    }
    EXPECT_EQ(list.strings(), expected);
    EXPECT_THROW(list.push_back(std::string(TextList::kMaxTextLength + 1, 'x')), std::length_error);
    EXPECT_THROW((void)list.at(expected.size()), std::out_of_range);
}

TEST(TextList, CopiesAndReorderedListsShareBytesButNeverWriteIntoEachOther) {
    TextList list;
    list.push_back("alpha");
    list.push_back("beta");
    TextList copy = list;
    const TextList reversed = list.reordered({1, 0});
    // Each appends into the block they share, where it has room, unless it starts its own.
    list.push_back("gamma");
    copy.push_back("delta");
    list.clear();
    EXPECT_EQ(copy.strings(), (std::vector<std::string>{"alpha", "beta", "delta"}));
    EXPECT_EQ(reversed.strings(), (std::vector<std::string>{"beta", "alpha"}));
}

TEST(TextList, ReorderingInPlaceFollowsEveryCycleAndRefusesWhatIsNoPermutation) {
    TextList list;
    for (const char* text : {"a", "b", "c", "d", "e", "f"}) {
        list.push_back(text);
    }
    // Cycles of three, two and one.
    const std::vector<std::uint32_t> order{2, 0, 1, 4, 3, 5};
    const TextList copied = list.reordered(order);
    list.reorder(order);
    EXPECT_EQ(list.strings(), (std::vector<std::string>{"c", "a", "b", "e", "d", "f"}));
    EXPECT_EQ(list.strings(), copied.strings());
    EXPECT_THROW(list.reorder({0, 0, 1, 2, 3, 4}), std::invalid_argument);
    EXPECT_THROW(list.reorder({0, 1}), std::invalid_argument);
}

} // namespace
