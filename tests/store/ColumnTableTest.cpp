#include "store/ColumnTable.h"

#include <gtest/gtest.h>

namespace
{

struct Table {
    std::array<ColumnRow, 10> cells{};
    std::array<std::uint8_t, 10> counts{};
    ColumnTableRef ref() { return {cells.data(), counts.data(), 10}; }
    void put(int slot, int column, int first, int last, int count)
    {
        ColumnTable::mark(ref(), first, last, column, slot);
        for (int r = first; r <= last; ++r)
            counts[r - 1] = std::uint8_t(count);
    }
};

} // namespace

// X holds column 1 on rows 3..8; Z comes in column 2 on rows 7..8. The walk climbs X to row 3
// and then scans right along row 3: an occupant there (Y) lets it climb on to the top.
TEST(ColumnCountWalk, ScanRightFollowsTheClusterUpward)
{
    struct Case {
        const char *name;
        bool withY;
        int expectedTop, expectedCount;
    } cases[] = {{"neighbour above joins the cluster", true, 1, 3},
                 {"nothing right of the climb", false, 3, 2}};
    for (const Case &c : cases) {
        Table t;
        if (c.withY) {
            t.put(3, 3, 1, 2, 3);
            t.put(2, 2, 1, 4, 3);
        }
        t.put(1, 1, 3, 8, 2);
        if (c.withY) t.counts[2] = t.counts[3] = 3;
        ColumnTable::mark(t.ref(), 7, 8, 2, 4);
        ColumnTable::widenColumnCount(t.ref(), 7, 8, 2);
        for (int r = 1; r <= 10; ++r) {
            const int expected = (r >= c.expectedTop && r <= 8)   ? c.expectedCount
                                 : (r < c.expectedTop && c.withY) ? 3
                                                                  : 0;
            EXPECT_EQ(t.ref().count(r), expected) << c.name << " row " << r;
        }
    }
}

TEST(ColumnCountWalk, DescendsAlongTheLeftNeighbourToTheClusterBottom)
{
    Table t;
    t.put(1, 1, 2, 9, 1);
    ColumnTable::mark(t.ref(), 2, 3, 2, 2);
    ColumnTable::widenColumnCount(t.ref(), 2, 3, 2);
    for (int r = 1; r <= 10; ++r)
        EXPECT_EQ(t.ref().count(r), (r >= 2 && r <= 9) ? 2 : 0) << r;
    EXPECT_EQ(ColumnTable::findFreeColumn(t.ref(), 3, 4), 3);
    EXPECT_EQ(ColumnTable::findFreeColumn(t.ref(), 4, 10), 2);
}
