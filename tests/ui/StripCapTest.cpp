// The all-day strip of a busy week: never more than a third of the time panel, the lanes that
// do not fit scrolled into view by the wheel or the strip's scroll bar.
#include "ui/TimeGridFixture.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

using namespace GridsTest;

namespace
{
// `lanes` week-long events, each in a lane of its own.
void addWeekLongEvents(FakeTimeGridModel &m, int lanes)
{
    for (int id = 1; id <= lanes; ++id)
        m.add(event(id, at(2024, 3, 4), at(2024, 3, 11), 1 + id % 2));
}

void turnWheelDown(QWidget *w, int notches)
{
    for (int i = 0; i < notches; ++i) {
        const QPointF at(w->width() / 2.0, 10);
        QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }
}
} // namespace

class StripCapTest : public DayGridFixture
{
protected:
    int shownStripHeight() const { return grid->stripView()->height(); }
};

TEST_F(StripCapTest, ManyLanesScrollInsideAStripOfAThirdOfThePanelAndTheLastLaneCanBeClicked)
{
    addWeekLongEvents(model, 20);
    refresh();
    show();
    ASSERT_EQ(view.stripHeight, 21 * 20 + 10) << "the lanes the strip needs";

    EXPECT_LE(shownStripHeight(), panel.height() / 3);
    EXPECT_EQ(grid->rowHeight(0), shownStripHeight()) << "the time rows start below it";
    EXPECT_EQ(grid->allDayStrip()->height(), view.stripHeight);
    QScrollBar *bar = panelLayout->stripScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), view.stripHeight - shownStripHeight());

    const SpanItem *last = nullptr;
    for (const SpanItem &i : model.dayCollection().stripItems())
        if (i.lane == 20) last = &i;
    ASSERT_NE(last, nullptr);
    // A point in the last bar's fill, right of its text, in the panel's coordinates.
    const auto lastBarPoint = [&] {
        return grid->allDayStrip()->mapTo(&panel, QPoint(last->right - 30, last->bottom - 6));
    };
    EXPECT_GT(lastBarPoint().y(), shownStripHeight()) << "out of sight at first";

    turnWheelDown(grid->allDayStrip(), 10);
    EXPECT_EQ(grid->stripScroll(), bar->maximum());
    EXPECT_EQ(bar->value(), bar->maximum());
    const QPoint p = lastBarPoint();
    ASSERT_GT(p.y(), 0);
    ASSERT_LT(p.y(), shownStripHeight());
    EXPECT_EQ(panel.grab().toImage().pixelColor(p), model.layerColor(last->layer));
    ASSERT_EQ(panel.childAt(p), grid->allDayStrip());
    QTest::mouseClick(grid->allDayStrip(), Qt::LeftButton, {},
                      grid->allDayStrip()->mapFrom(&panel, p));
    EXPECT_EQ(grid->allDayStrip()->selectedEvents(), std::vector<int>{last->id});

    // The scroll bar scrolls back; a taller panel keeps its own third.
    bar->setValue(0);
    EXPECT_EQ(grid->stripScroll(), 0);
    for (const int h : {240, 431, 600, 877}) {
        panel.resize(panel.width(), h);
        layout();
        EXPECT_LE(grid->rowHeight(0), h / 3) << "panel " << h;
        EXPECT_EQ(grid->stripScrollMaximum(), view.stripHeight - grid->rowHeight(0));
    }
}

TEST_F(StripCapTest, AFewLanesShowWhole)
{
    addWeekLongEvents(model, 3);
    refresh();
    show();
    EXPECT_EQ(view.stripHeight, 73);
    EXPECT_GE(shownStripHeight(), view.stripHeight);
    EXPECT_EQ(grid->stripScrollMaximum(), 0);
    EXPECT_FALSE(panelLayout->stripScrollBar()->isVisible());
    turnWheelDown(grid->allDayStrip(), 3);
    EXPECT_EQ(grid->stripScroll(), 0);
}

TEST_F(StripCapTest, OtherDaysShowTheStripFromItsTopLaneTheSameDaysKeepTheirScroll)
{
    addWeekLongEvents(model, 20);
    for (int id = 101; id <= 120; ++id)
        model.add(event(id, at(2024, 3, 11), at(2024, 3, 18)));
    refresh();
    show();
    QScrollBar *bar = panelLayout->stripScrollBar();
    const auto scrollToBottom = [&] {
        turnWheelDown(grid->allDayStrip(), 10);
        ASSERT_GT(grid->stripScroll(), 0);
        ASSERT_EQ(grid->stripScroll(), bar->value());
    };

    scrollToBottom();
    const int bottom = grid->stripScroll();
    model.add(event(200, at(2024, 3, 5), at(2024, 3, 6, 12)));
    refresh();
    (void)panel.grab();
    EXPECT_EQ(grid->stripScroll(), bottom) << "a change of the same days' events";

    showWeek(at(2024, 3, 11), 7);
    EXPECT_EQ(grid->stripScroll(), 0) << "next week";
    EXPECT_EQ(bar->value(), 0);
    const SpanItem *first = nullptr;
    for (const SpanItem &i : model.dayCollection().stripItems())
        if (i.lane == 1) first = &i;
    ASSERT_NE(first, nullptr);
    const QPoint p =
        grid->allDayStrip()->mapTo(&panel, QPoint(first->right - 30, first->bottom - 6));
    EXPECT_EQ(panel.childAt(p), grid->allDayStrip()) << "the first lane is in sight";
    EXPECT_EQ(panel.grab().toImage().pixelColor(p), model.layerColor(first->layer));

    scrollToBottom();
    showWeek(at(2024, 3, 11), 3);
    EXPECT_EQ(grid->stripScroll(), 0) << "fewer days from the same date";
    EXPECT_EQ(bar->value(), 0);
}
