#include "platform/DrawGrid.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <vector>

namespace
{

struct DrawnCell {
    int col;
    int row;
    QRect rect;
    GridDrawState state;
};

struct SeenMouse {
    char kind; // 'd'own, 'm'ove, 'u'p
    GridMouseEvent e;
};

// Paints cell (col, row) in a colour that names it and records what the base hands over.
class RecordingGrid : public DrawGrid
{
public:
    using DrawGrid::DrawGrid;

    static QColor cellColor(int col, int row) { return QColor(40 * col, 30 * row, 200); }

    std::vector<DrawnCell> drawn;
    std::vector<char> paintOrder; // 'b'efore, 'c'ell, 'a'fter
    std::vector<SeenMouse> mouse;
    bool refuseSelect = false;

protected:
    void drawCell(QPainter &p, int col, int row, const QRect &rect, GridDrawState state) override
    {
        drawn.push_back({col, row, rect, state});
        paintOrder.push_back('c');
        p.fillRect(rect, cellColor(col, row));
    }
    void paintBeforeCells(QPainter &, const QRegion &) override { paintOrder.push_back('b'); }
    void paintAfterCells(QPainter &p, const QRegion &) override
    {
        paintOrder.push_back('a');
        p.fillRect(QRect(0, 0, 3, 3), Qt::green); // overlay over cell (0, 0)
    }
    bool canSelectCell(int, int) override { return !refuseSelect; }
    void gridMouseDown(const GridMouseEvent &e) override { mouse.push_back({'d', e}); }
    void gridMouseMove(const GridMouseEvent &e) override { mouse.push_back({'m', e}); }
    void gridMouseUp(const GridMouseEvent &e) override { mouse.push_back({'u', e}); }
};

// Four columns (60, 30, 40, 50), four rows (15, then 16 each), no lines, in a 200 x 100
// widget: col 0 at x 0..59, col 1 at 60..89, col 2 at 90..129, col 3 at 130..179;
// row 0 at y 0..14, row 1 at 15..30, row 2 at 31..46, row 3 at 47..62.
class GridFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.setColCount(4);
        grid.setRowCount(4);
        grid.setColWidth(0, 60);
        grid.setColWidth(1, 30);
        grid.setColWidth(2, 40);
        grid.setColWidth(3, 50);
        grid.setRowHeight(0, 15);
        grid.resize(200, 100);
    }

    void showAndSettle()
    {
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        QApplication::processEvents();
        grid.drawn.clear();
        grid.paintOrder.clear();
    }

    std::vector<std::pair<int, int>> drawnCells() const
    {
        std::vector<std::pair<int, int>> out;
        for (const DrawnCell &d : grid.drawn)
            out.emplace_back(d.col, d.row);
        std::sort(out.begin(), out.end());
        return out;
    }

    RecordingGrid grid;
};

struct PressCase {
    const char *name;
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    GridShiftState expected;
};

void PrintTo(const PressCase &c, std::ostream *os)
{
    *os << c.name;
}

class GridPressTest : public GridFixture, public ::testing::WithParamInterface<PressCase>
{
};

TEST_P(GridPressTest, PressAndReleaseCarryButtonModifiersAndCell)
{
    const PressCase &c = GetParam();
    showAndSettle();
    QTest::mousePress(&grid, c.button, c.modifiers, QPoint(95, 35));
    QTest::mouseRelease(&grid, c.button, c.modifiers, QPoint(95, 35));
    ASSERT_EQ(grid.mouse.size(), 2u);
    const GridMouseEvent &down = grid.mouse[0].e;
    EXPECT_EQ(grid.mouse[0].kind, 'd');
    EXPECT_EQ(down.button, c.button);
    EXPECT_EQ(down.shift, c.expected);
    EXPECT_EQ(down.cell, (GridCell{2, 2}));
    EXPECT_EQ(down.pos, QPoint(95, 35));
    const GridMouseEvent &up = grid.mouse[1].e;
    EXPECT_EQ(grid.mouse[1].kind, 'u');
    EXPECT_EQ(up.button, c.button);
    // The released button is no longer held; the modifiers still are.
    EXPECT_EQ(up.shift,
              c.expected & ~GridShiftState(GridShift::Left | GridShift::Right | GridShift::Middle));
}

INSTANTIATE_TEST_SUITE_P(
    ButtonSets, GridPressTest,
    ::testing::Values(
        PressCase{"left", Qt::LeftButton, Qt::NoModifier, GridShift::Left},
        PressCase{"leftShift", Qt::LeftButton, Qt::ShiftModifier,
                  GridShift::Left | GridShift::Shift},
        PressCase{"leftCtrl", Qt::LeftButton, Qt::ControlModifier,
                  GridShift::Left | GridShift::Ctrl},
        PressCase{"right", Qt::RightButton, Qt::NoModifier, GridShift::Right},
        PressCase{"rightShiftCtrl", Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                  GridShift::Right | GridShift::Shift | GridShift::Ctrl},
        PressCase{"middleAlt", Qt::MiddleButton, Qt::AltModifier,
                  GridShift::Middle | GridShift::Alt},
        PressCase{"metaIsNotInTheSet", Qt::LeftButton, Qt::MetaModifier, GridShift::Left}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridFixture, DoubleClickGivesASecondPressMarkedDouble)
{
    showAndSettle();
    // What the window system delivers: press, release, double-click press, release.
    QTest::mouseClick(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QTest::mouseDClick(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QTest::mouseRelease(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    ASSERT_EQ(grid.mouse.size(), 4u);
    EXPECT_EQ(grid.mouse[0].e.shift, GridShiftState(GridShift::Left));
    EXPECT_EQ(grid.mouse[2].kind, 'd');
    EXPECT_EQ(grid.mouse[2].e.shift, GridShift::Left | GridShift::Double);
    EXPECT_EQ(grid.mouse[2].e.cell, (GridCell{0, 1}));
    EXPECT_EQ(grid.mouse[3].kind, 'u');
}

TEST_F(GridFixture, DragBeyondTheGridKeepsReportingOutsidePositions)
{
    showAndSettle();
    QTest::mousePress(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(70, 20));
    QTest::mouseMove(&grid, QPoint(100, 40));
    QTest::mouseMove(&grid, QPoint(100, 150)); // below the widget
    QTest::mouseRelease(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(100, 150));
    ASSERT_EQ(grid.mouse.size(), 4u);
    EXPECT_EQ(grid.mouse[1].kind, 'm');
    EXPECT_EQ(grid.mouse[1].e.cell, (GridCell{2, 2}));
    EXPECT_TRUE(grid.mouse[1].e.shift.testFlag(GridShift::Left)) << "button held during drag";
    EXPECT_EQ(grid.mouse[1].e.button, Qt::NoButton);
    EXPECT_EQ(grid.mouse[2].e.pos, QPoint(100, 150));
    EXPECT_TRUE(grid.mouse[2].e.cell.isNone());
    EXPECT_EQ(grid.mouse[3].kind, 'u');
}

TEST_F(GridFixture, PaintsEveryCellBetweenTheHooksAndFillsTheRest)
{
    grid.setColor(QColor(1, 2, 3));
    const QImage img = grid.grab().toImage();
    EXPECT_EQ(grid.paintOrder.front(), 'b');
    EXPECT_EQ(grid.paintOrder.back(), 'a');
    EXPECT_EQ(grid.drawn.size(), 16u);
    EXPECT_EQ(img.pixelColor(1, 1), QColor(Qt::green)) << "overlay drawn after the cells";
    EXPECT_EQ(img.pixelColor(59, 14), RecordingGrid::cellColor(0, 0));
    EXPECT_EQ(img.pixelColor(60, 15), RecordingGrid::cellColor(1, 1));
    EXPECT_EQ(img.pixelColor(179, 62), RecordingGrid::cellColor(3, 3));
    EXPECT_EQ(img.pixelColor(180, 30), QColor(1, 2, 3)) << "right of the cells";
    EXPECT_EQ(img.pixelColor(30, 63), QColor(1, 2, 3)) << "below the cells";
}

TEST_F(GridFixture, GridLinesAreDrawnRightOfAndBelowEachCell)
{
    grid.setGridLineWidth(2);
    grid.setGridLineColor(QColor(9, 9, 9));
    grid.setFixedCols(1);
    grid.setLeftCol(2); // col 1 scrolled out: col 2 starts at 62
    const QImage img = grid.grab().toImage();
    EXPECT_EQ(img.pixelColor(60, 5), QColor(9, 9, 9));
    EXPECT_EQ(img.pixelColor(61, 5), QColor(9, 9, 9));
    EXPECT_EQ(img.pixelColor(62, 5), RecordingGrid::cellColor(2, 0));
    EXPECT_EQ(img.pixelColor(62, 15), QColor(9, 9, 9));
    EXPECT_EQ(img.pixelColor(62, 17), RecordingGrid::cellColor(2, 1));
    for (const DrawnCell &d : grid.drawn)
        EXPECT_NE(d.col, 1) << "scrolled-out column is not drawn";
}

TEST_F(GridFixture, InvalidatingACellRepaintsOnlyThatCell)
{
    showAndSettle();
    grid.invalidateCell(2, 1);
    QApplication::processEvents();
    EXPECT_EQ(drawnCells(), (std::vector<std::pair<int, int>>{{2, 1}}));
    ASSERT_EQ(grid.drawn.size(), 1u);
    EXPECT_EQ(grid.drawn[0].rect, QRect(90, 15, 40, 16));

    grid.drawn.clear();
    grid.invalidateRect(QRect(QPoint(60, 14), QPoint(89, 30)));
    QApplication::processEvents();
    EXPECT_EQ(drawnCells(), (std::vector<std::pair<int, int>>{{1, 0}, {1, 1}}));

    grid.drawn.clear();
    grid.invalidateCell(1, 9); // no such row: nothing to repaint
    QApplication::processEvents();
    EXPECT_TRUE(grid.drawn.empty());
}

TEST_F(GridFixture, ClickMovesTheCurrentCellUnlessRefused)
{
    grid.setFixedRows(1);
    grid.setClickSelectsCell(true);
    showAndSettle();
    QSignalSpy changed(&grid, &DrawGrid::currentCellChanged);

    QTest::mouseClick(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(95, 35));
    EXPECT_EQ(grid.currentCell(), (GridCell{2, 2}));
    EXPECT_EQ(changed.count(), 1);

    QTest::mouseClick(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(95, 5)); // fixed row
    QTest::mouseClick(&grid, Qt::RightButton, Qt::NoModifier, QPoint(10, 50));
    EXPECT_EQ(grid.currentCell(), (GridCell{2, 2}));

    grid.refuseSelect = true;
    QTest::mouseClick(&grid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 50));
    EXPECT_EQ(grid.currentCell(), (GridCell{2, 2}));
    EXPECT_EQ(changed.count(), 1);

    grid.drawn.clear();
    grid.repaint();
    for (const DrawnCell &d : grid.drawn) {
        EXPECT_EQ(d.state.testFlag(GridDrawFlag::Selected), d.col == 2 && d.row == 2);
        EXPECT_EQ(d.state.testFlag(GridDrawFlag::Fixed), d.row == 0);
    }

    grid.setRowCount(2);
    EXPECT_TRUE(grid.currentCell().isNone()) << "current cell removed with its row";
}

TEST_F(GridFixture, PointerShapes)
{
    const std::pair<GridPointer, Qt::CursorShape> cases[] = {
        {GridPointer::SizeVertical, Qt::SizeVerCursor},
        {GridPointer::SizeHorizontal, Qt::SizeHorCursor},
        {GridPointer::Drag, Qt::DragMoveCursor},
        {GridPointer::SizeAll, Qt::SizeAllCursor},
        {GridPointer::Arrow, Qt::ArrowCursor},
    };
    for (const auto &[pointer, shape] : cases) {
        grid.setPointer(pointer);
        EXPECT_EQ(grid.pointer(), pointer);
        EXPECT_EQ(grid.cursor().shape(), shape);
    }
}

class KeyRecorder : public QWidget
{
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent *e) override { keys.push_back(e->key()); }
};

TEST(DrawGrid, KeysPassToTheParent)
{
    KeyRecorder parent;
    auto *grid = new DrawGrid(&parent);
    parent.resize(100, 100);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QTest::keyClick(grid, Qt::Key_Left);
    QTest::keyClick(grid, Qt::Key_A);
    EXPECT_EQ(parent.keys, (std::vector<int>{Qt::Key_Left, Qt::Key_A}));
    EXPECT_EQ(grid->focusPolicy(), Qt::ClickFocus);
}

} // namespace
