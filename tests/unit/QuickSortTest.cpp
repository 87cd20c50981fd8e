#include "fontlist/QuickSort.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fontlist/DuplicateGroups.h"
#include "text/Text.h"

#if defined(__unix__) || defined(__APPLE__)
#include <pthread.h>
#endif

namespace {

using Lists = std::pair<std::vector<std::string>, std::vector<std::string>>;

Lists sorted(std::vector<std::string> keys, std::vector<std::string> values, std::size_t first,
             std::size_t last) {
    fontlist::QuickSort(keys, values, first, last);
    return {std::move(keys), std::move(values)};
}

// The partition sort written down as plainly as possible, recursing left then right, to check
// that every exchange of the real one happens the same way.
void referenceSort(std::vector<std::string>& keys, std::vector<std::string>& values,
                   std::int64_t first, std::int64_t last) {
    std::int64_t low = first;
    std::int64_t high = last;
    const auto middle =
        static_cast<std::int64_t>(std::nearbyint(static_cast<double>(first + last) / 2.0));
    const std::string pivot = keys[static_cast<std::size_t>(middle)];
    const auto key = [&](std::int64_t i) -> const std::string& {
        return keys[static_cast<std::size_t>(i)];
    };
    do {
        while (text::compareNoCase(key(low), pivot) < 0) {
            ++low;
        }
        while (text::compareNoCase(key(high), pivot) > 0) {
            --high;
        }
        if (low > high) {
            break;
        }
        std::swap(keys[static_cast<std::size_t>(low)], keys[static_cast<std::size_t>(high)]);
        std::swap(values[static_cast<std::size_t>(low)], values[static_cast<std::size_t>(high)]);
        ++low;
        --high;
    } while (low <= high);
    if (first < high) {
        referenceSort(keys, values, first, high);
    }
    if (low < last) {
        referenceSort(keys, values, low, last);
    }
}

// Runs work on a thread with a stack far too small for one level of recursion per entry.
void onSmallStack(std::function<void()> work) {
#if defined(__unix__) || defined(__APPLE__)
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, 64 * 1024), 0);
    pthread_t thread;
    const auto body = [](void* argument) -> void* {
        (*static_cast<std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, body, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
#else
    work();
#endif
}

bool inOrder(const std::vector<std::string>& keys) {
    return std::is_sorted(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        return text::compareNoCase(a, b) < 0;
    });
}

std::string numbered(std::size_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "k%07zu", n);
    return text;
}

TEST(QuickSort, SortsWithoutRegardToCaseAndKeepsPairs) {
    EXPECT_EQ(sorted({"b", "A", "c"}, {"1", "2", "3"}, 0, 2),
              Lists({"A", "b", "c"}, {"2", "1", "3"}));
    EXPECT_EQ(sorted({"Zeta", "alpha", "Mu", "beta"}, {"z", "a", "m", "b"}, 0, 3),
              Lists({"alpha", "beta", "Mu", "Zeta"}, {"a", "b", "m", "z"}));
    // One entry, and an empty range.
    EXPECT_EQ(sorted({"x"}, {"1"}, 0, 0), Lists({"x"}, {"1"}));
    EXPECT_EQ(sorted({"b", "a"}, {"1", "2"}, 1, 0), Lists({"b", "a"}, {"1", "2"}));
    // Entries outside the range stay where they are, the last one included.
    EXPECT_EQ(sorted({"z", "c", "B", "a", "A", ""}, {"0", "1", "2", "3", "4", "5"}, 1, 3),
              Lists({"z", "a", "B", "c", "A", ""}, {"0", "3", "2", "1", "4", "5"}));
}

TEST(QuickSort, CaseOnlyDifferencesEndInTheOrderTheExchangesLeave) {
    // Equal keys are exchanged too: "a" and "A" swap places.
    EXPECT_EQ(sorted({"a", "A"}, {"1", "2"}, 0, 1), Lists({"A", "a"}, {"2", "1"}));
    EXPECT_EQ(sorted({"x", "X", "x"}, {"1", "2", "3"}, 0, 2),
              Lists({"x", "X", "x"}, {"3", "2", "1"}));
    // Letters beyond ASCII fold as well.
    EXPECT_EQ(sorted({"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\xA9", "f"}, {"1", "2", "3"}, 0, 2),
              Lists({"f", "\xC3\xA9T\xC3\xA9", "\xC3\x89t\xC3\xA9"}, {"3", "2", "1"}));
}

TEST(QuickSort, ChecksTheRangeBeforeMovingAnything) {
    std::vector<std::string> keys{"b", "a"};
    std::vector<std::string> values{"1"};
    EXPECT_THROW(fontlist::QuickSort(keys, values, 0, 1), std::out_of_range);
    EXPECT_EQ(keys, (std::vector<std::string>{"b", "a"}));
}

TEST(QuickSort, ExchangesExactlyAsThePlainRecursiveSort) {
    // Few distinct keys that differ in case only, so that the final order of equal keys and
    // of their values shows every exchange.
    const std::vector<std::string> alphabet = {
        "a", "A", "b", "B", "ab", "aB", "Ab", "", "\xC3\xA9", "\xC3\x89", "\xC5\xA0", "\xC5\xA1"};
    std::mt19937 random(20240517);
    for (int round = 0; round < 3000; ++round) {
        const std::size_t size = 1 + random() % 40;
        std::vector<std::string> keys(size);
        std::vector<std::string> values(size);
        for (std::size_t i = 0; i < size; ++i) {
            keys[i] = alphabet[random() % alphabet.size()];
            values[i] = std::to_string(i);
        }
        std::size_t first = random() % size;
        std::size_t last = random() % size;
        if (round % 2 == 0) {
            first = 0;
            last = size - 1;
        } else if (first > last) {
            std::swap(first, last);
        }
        auto expectedKeys = keys;
        auto expectedValues = values;
        referenceSort(expectedKeys, expectedValues, static_cast<std::int64_t>(first),
                      static_cast<std::int64_t>(last));
        // The HTML list sorts an order of indices over folded keys, which must leave the keys
        // exactly where sorting them would.
        text::TextList folded;
        for (const std::string& key : keys) {
            folded.push_back(text::foldCaseUtf8(key));
        }
        const std::vector<std::uint32_t> order = fontlist::quickSortOrder(folded);
        fontlist::QuickSort(keys, values, first, last);
        ASSERT_EQ(keys, expectedKeys) << "round " << round;
        ASSERT_EQ(values, expectedValues) << "round " << round;
        if (first == 0 && last == size - 1) {
            for (std::size_t i = 0; i < size; ++i) {
                ASSERT_EQ(values[i], std::to_string(order[i])) << "round " << round;
            }
        }
    }
}

// A long list is sorted on two threads once its first pass has split it; the order must be
// the one the sort on one thread leaves, equal keys included.
TEST(QuickSort, LongListsSortedOnTwoThreadsEndInTheSameOrder) {
    const std::vector<std::string> alphabet = {"a", "A", "b", "B", "ab", "aB", "Ab", "c"};
    std::mt19937 random(20261208);
    constexpr std::size_t size = 70000;
    std::vector<std::string> keys(size);
    std::vector<std::string> values(size);
    text::TextList folded;
    for (std::size_t i = 0; i < size; ++i) {
        keys[i] = alphabet[random() % alphabet.size()];
        values[i] = std::to_string(i);
        folded.push_back(text::foldCaseUtf8(keys[i]));
    }
    referenceSort(keys, values, 0, static_cast<std::int64_t>(size) - 1);
    const std::vector<std::uint32_t> order = fontlist::quickSortOrder(folded);
    for (std::size_t i = 0; i < size; ++i) {
        ASSERT_EQ(std::to_string(order[i]), values[i]) << "at " << i;
    }
}

// A long list's places among equal keys are found in two halves; a group that spans the
// middle is one group all the same.
TEST(DuplicateGroups, AGroupAcrossTheMiddleOfALongListIsOneGroup) {
    constexpr std::size_t size = 40000;
    // Pairs of equal keys from entry 1 on: (1, 2), (3, 4) ... (19999, 20000) ... (39997, 39998).
    text::TextList folded;
    std::vector<std::uint32_t> order(size);
    for (std::size_t i = 0; i < size; ++i) {
        folded.push_back(numbered((i + 1) / 2));
        order[i] = static_cast<std::uint32_t>(i);
    }
    const std::vector<fontlist::GroupPlace> places = fontlist::findGroupPlaces(folded, order);
    ASSERT_EQ(places.size(), size);
    EXPECT_EQ(places[0], fontlist::GroupPlace::Alone);
    EXPECT_EQ(places[size - 1], fontlist::GroupPlace::Alone);
    for (std::size_t i = 1; i + 1 < size; ++i) {
        ASSERT_EQ(places[i], i % 2 == 1 ? fontlist::GroupPlace::First : fontlist::GroupPlace::Later)
            << "at " << i;
    }
}

// Ranks for an input on which every pass of the partition splits off a single entry: the pass
// finds the largest key of its range in the middle (all others stay in the left part) or the
// smallest (all others go to the right part). Recursing into the part that remains every time
// would go one level deeper per entry.
std::vector<std::size_t> oneByOneRanks(std::size_t size, bool largestInTheMiddle) {
    std::vector<std::size_t> position(size);
    std::vector<std::size_t> rank(size);
    for (std::size_t i = 0; i < size; ++i) {
        position[i] = i;
    }
    const auto middle = [](std::size_t first, std::size_t last) {
        const std::size_t sum = first + last;
        return sum % 2 == 1 && (sum / 2) % 2 == 1 ? sum / 2 + 1 : sum / 2;
    };
    std::size_t first = 0;
    std::size_t last = size - 1;
    std::size_t smallest = 1;
    std::size_t largest = size;
    while (first < last) {
        const std::size_t m = middle(first, last);
        if (largestInTheMiddle) {
            rank[position[m]] = largest--;
            std::swap(position[m], position[last--]);
        } else {
            rank[position[m]] = smallest++;
            std::swap(position[m], position[first++]);
        }
    }
    rank[position[first]] = smallest;
    return rank;
}

TEST(QuickSort, StaysShallowOnInputsThatDefeatThePartition) {
    const std::size_t size = 6000;
    for (const bool largestInTheMiddle : {true, false}) {
        const std::vector<std::size_t> rank = oneByOneRanks(size, largestInTheMiddle);
        std::vector<std::string> keys(size);
        std::vector<std::string> values(size);
        for (std::size_t i = 0; i < size; ++i) {
            keys[i] = numbered(rank[i]);
            values[i] = std::to_string(rank[i]);
        }
        onSmallStack([&] { fontlist::QuickSort(keys, values, 0, size - 1); });
        for (std::size_t i = 0; i < size; ++i) {
            ASSERT_EQ(keys[i], numbered(i + 1));
            ASSERT_EQ(values[i], std::to_string(i + 1));
        }
    }
}

TEST(QuickSort, SortsLargeListsOfEqualOrOrderedKeys) {
    constexpr std::size_t size = 200000;
    const std::function<std::string(std::size_t)> shapes[] = {
        [](std::size_t) { return std::string("Same"); },
        [](std::size_t i) { return i % 2 == 0 ? std::string("same") : std::string("SAME"); },
        [](std::size_t i) { return numbered(i); },
        [](std::size_t i) { return numbered(size - i); },
    };
    for (const auto& shape : shapes) {
        std::vector<std::string> keys(size);
        std::vector<std::string> values(size);
        for (std::size_t i = 0; i < size; ++i) {
            keys[i] = shape(i);
            values[i] = std::to_string(i);
        }
        onSmallStack([&] { fontlist::QuickSort(keys, values, 0, size - 1); });
        EXPECT_TRUE(inOrder(keys));
        // Every value still sits next to its key, and none is lost or doubled.
        std::vector<bool> seen(size);
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t from = std::stoul(values[i]);
            ASSERT_FALSE(seen[from]);
            seen[from] = true;
            ASSERT_EQ(keys[i], shape(from));
        }
    }
}

} // namespace
