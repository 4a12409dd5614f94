#include "platform/GridGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{

// Columns 60, 30, 40, 50 px with 1 px lines; column 0 fixed, scrolled so that column 1 is out:
// col 0 at 0..59 (line 60), col 2 at 61..100 (line 101), col 3 at 102..151 (line 152).
// Rows 15, 16, 16, 20 px with 1 px lines, row 0 fixed and not scrolled:
// row 0 at 0..14 (line 15), row 1 at 16..31 (line 32), row 2 at 33..48, row 3 at 50..69.
GridGeometry scrolledGrid()
{
    GridGeometry g;
    g.setColCount(4);
    g.setRowCount(4);
    g.setGridLineWidth(1);
    g.setColWidth(0, 60);
    g.setColWidth(1, 30);
    g.setColWidth(2, 40);
    g.setColWidth(3, 50);
    g.setRowHeight(0, 15);
    g.setRowHeight(3, 20);
    g.setFixedCols(1);
    g.setFixedRows(1);
    g.setLeftCol(2);
    return g;
}

struct HitCase {
    const char *name;
    QPoint p;
    GridCell expected;
};

void PrintTo(const HitCase &c, std::ostream *os)
{
    *os << c.name;
}

class GridHitTest : public ::testing::TestWithParam<HitCase>
{
};

TEST_P(GridHitTest, CellAt)
{
    EXPECT_EQ(scrolledGrid().cellAt(GetParam().p), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    MixedSizesScrolled, GridHitTest,
    ::testing::Values(
        HitCase{"origin", {0, 0}, {0, 0}}, HitCase{"lastPixelOfFixedCol", {59, 20}, {0, 1}},
        HitCase{"lineAfterFixedColBelongsToIt", {60, 20}, {0, 1}},
        HitCase{"firstScrolledColSkipsHiddenCol", {61, 20}, {2, 1}},
        HitCase{"lineAfterCol2", {101, 40}, {2, 2}}, HitCase{"lastCol", {102, 69}, {3, 3}},
        HitCase{"lastLinePixel", {152, 70}, {3, 3}}, HitCase{"rightOfGrid", {153, 20}, {}},
        HitCase{"belowGrid", {20, 71}, {}}, HitCase{"leftOfGrid", {-1, 20}, {}},
        HitCase{"aboveGrid", {20, -1}, {}}, HitCase{"fixedRowBorder", {20, 15}, {0, 0}},
        HitCase{"firstPixelOfRow1", {20, 16}, {0, 1}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(GridGeometry, CellRectsFollowScrollAndLines)
{
    const GridGeometry g = scrolledGrid();
    EXPECT_EQ(g.cellRect(0, 0), QRect(0, 0, 60, 15));
    EXPECT_EQ(g.cellRect(2, 1), QRect(61, 16, 40, 16));
    EXPECT_EQ(g.cellRect(3, 3), QRect(102, 50, 50, 20));
    EXPECT_TRUE(g.cellRect(1, 1).isNull()) << "scrolled-out column";
    EXPECT_TRUE(g.cellRect(4, 0).isNull()) << "column out of range";
    EXPECT_TRUE(g.cellRect(0, -1).isNull());
    EXPECT_EQ(g.totalWidth(), 153);
    EXPECT_EQ(g.totalHeight(), 71);
}

TEST(GridGeometry, NoLinesZeroWidthColumnIsNeverHit)
{
    GridGeometry g;
    g.setColCount(3);
    g.setRowCount(1);
    g.setColWidth(1, 0);
    g.setDefaultRowHeight(10);
    EXPECT_EQ(g.colAt(63), 0);
    EXPECT_EQ(g.colAt(64), 2);
    EXPECT_EQ(g.cellRect(1, 0), QRect(64, 0, 0, 10));
    EXPECT_EQ(g.colsTouching(64, 64), std::vector<int>{2});
}

TEST(GridGeometry, TouchingRangesIncludeLines)
{
    const GridGeometry g = scrolledGrid();
    EXPECT_EQ(g.colsTouching(60, 60), std::vector<int>{0});
    EXPECT_EQ(g.colsTouching(60, 61), (std::vector<int>{0, 2}));
    EXPECT_EQ(g.colsTouching(0, 1000), (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(g.colsTouching(153, 400).empty());
    EXPECT_EQ(g.rowsTouching(32, 33), (std::vector<int>{1, 2}));
}

TEST(GridGeometry, DefaultSizeReplacesOverridesAndFillsNewCells)
{
    GridGeometry g;
    g.setColCount(2);
    g.setColWidth(1, 99);
    g.setDefaultColWidth(20);
    EXPECT_EQ(g.colWidth(1), 20);
    g.setColWidth(0, 60);
    g.setColCount(4);
    EXPECT_EQ(g.colWidth(0), 60) << "growing keeps existing widths";
    EXPECT_EQ(g.colWidth(3), 20);
    g.setColWidth(7, 5); // out of range: ignored
    EXPECT_EQ(g.colWidth(7), 0);
    g.setColWidth(2, -4);
    EXPECT_EQ(g.colWidth(2), 0);
}

TEST(GridGeometry, ScrollOffsetsAndFixedCountsAreClamped)
{
    GridGeometry g = scrolledGrid();
    g.setLeftCol(100);
    EXPECT_EQ(g.leftCol(), 3);
    g.setLeftCol(-5);
    EXPECT_EQ(g.leftCol(), 1) << "never into the fixed columns";
    g.setFixedCols(10);
    EXPECT_EQ(g.fixedCols(), 4);
    g.setColCount(2);
    EXPECT_EQ(g.fixedCols(), 2);
    EXPECT_EQ(g.leftCol(), 2);
    g.setColCount(0);
    EXPECT_EQ(g.cellAt({0, 0}), GridCell{});
    EXPECT_EQ(g.totalWidth(), 0);
}

} // namespace
