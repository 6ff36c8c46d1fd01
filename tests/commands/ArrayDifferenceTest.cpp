#include "commands/ArrayDifference.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Values = std::vector<int>;

ArrayDifference<int> Of(const Values& before, const Values& after) {
    return ArrayDifference<int>::Between(before, after);
}

TEST(ArrayDifferenceTest, EitherVersionIsMadeAgainFromTheOther) {
    struct Case {
        std::string name;
        Values before;
        Values after;
    };
    const std::vector<Case> cases = {
        {"same", {1, 2, 3}, {1, 2, 3}},
        {"both empty", {}, {}},
        {"one changed", {1, 2, 3, 4}, {1, 9, 3, 4}},
        {"scattered changes", {1, 2, 3, 4, 5, 6}, {0, 2, 8, 8, 5, 7}},
        {"inserted inside", {1, 2, 3}, {1, 2, 7, 7, 3}},
        {"removed at the start", {1, 2, 3}, {3}},
        {"removed at the end", {1, 2, 3}, {1}},
        {"from nothing", {}, {4, 5}},
        {"to nothing", {4, 5}, {}},
        {"repeated values inserted", {1, 1, 1}, {1, 1, 1, 1}},
        {"replaced and grown", {1, 2, 3, 4}, {1, 5, 6, 7, 8, 4}},
    };
    for (const Case& c : cases) {
        const ArrayDifference<int> d = Of(c.before, c.after);
        Values forward = c.before;
        d.Apply(&forward, true);
        EXPECT_EQ(forward, c.after) << c.name;
        Values back = c.after;
        d.Apply(&back, false);
        EXPECT_EQ(back, c.before) << c.name;
        EXPECT_EQ(d.Empty(), c.before == c.after) << c.name;
    }
}

TEST(ArrayDifferenceTest, KeepsOnlyTheRecordsThatDiffer) {
    Values before(1000);
    for (int i = 0; i < 1000; ++i) {
        before[std::size_t(i)] = i;
    }
    Values changed = before;
    changed[500] = -1;
    changed[700] = -2;
    // Two runs of one record each, both sides: far from the 8,000 bytes of the arrays.
    EXPECT_LE(Of(before, changed).Bytes(), 2 * (3 * sizeof(std::uint32_t) + 2 * sizeof(int)));

    Values inserted = before;
    inserted.insert(inserted.begin() + 300, 42);
    const ArrayDifference<int> grown = Of(before, inserted);
    EXPECT_LE(grown.Bytes(), 3 * sizeof(std::uint32_t) + sizeof(int));
    EXPECT_FALSE(grown.SameLength());
}

TEST(ArrayDifferenceTest, RunsNameTheirPlaceAndTheValuesOfTheSideGoneTo) {
    const Values before{1, 2, 3, 4, 5}, after{1, 7, 8, 4, 9};
    const ArrayDifference<int> d = Of(before, after);
    using Runs = std::vector<std::pair<std::size_t, Values>>;
    const auto runs = [&](bool forward, const Values& from) {
        Runs got;
        d.ForEachRun(forward, std::span<const int>(from),
                     [&](std::size_t first, std::size_t count, const int* values) {
                         got.push_back({first, Values(values, values + count)});
                     });
        return got;
    };
    EXPECT_EQ(runs(true, before), (Runs{{1, {7, 8}}, {4, {9}}}));
    EXPECT_EQ(runs(false, after), (Runs{{1, {2, 3}}, {4, {5}}}));
}

} // namespace
