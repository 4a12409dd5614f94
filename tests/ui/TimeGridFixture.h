#pragma once
// A time-grid panel laid out by the main window's TimePanelLayout over the fake model: the week
// of Monday 4 March 2024, 15-minute scale, the clock at Tuesday 5 March 10:30. The panel stands
// where the window puts it, between its top and bottom bars. Also the helpers the grid tests
// share.
#include "core/Clock.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "mainwin/MainPanels.h"
#include "mainwin/TimePanelLayout.h"
#include "support/TestEnv.h"
#include "ui/FakeTimeGridModel.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

namespace GridsTest
{

inline SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

inline bool sameTime(SerialDateTime a, SerialDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

inline const SpanItem *timeItem(FakeTimeGridModel &m, int day, int id)
{
    for (const SpanItem &i : m.dayCollection().timeItems(day))
        if (i.id == id) return &i;
    return nullptr;
}

inline const SpanItem *stripItem(FakeTimeGridModel &m, int id)
{
    for (const SpanItem &i : m.dayCollection().stripItems())
        if (i.id == id) return &i;
    return nullptr;
}

// A one-time event "Event <id>" in `layer`.
inline FakeEvent event(int id, SerialDateTime start, SerialDateTime end, int layer = 1)
{
    FakeEvent e;
    e.id = id;
    e.start = start;
    e.end = end;
    e.layer = layer;
    e.subject = QStringLiteral("Event %1").arg(id);
    return e;
}

class DayGridFixture : public ::testing::Test
{
protected:
    Clock clock;
    ViewDates time{clock};
    ViewState view;
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    Settings reg{SettingsPaths::fromEnvironment(QStringLiteral("/usr/bin/dayloom"))};
    FakeTimeGridModel model;
    QWidget panel;
    TimeGrid *grid = nullptr;
    TimePanelLayout *panelLayout = nullptr; // owned by panel

    DayGridFixture()
    {
        clock.setFixed(QDateTime(QDate(2024, 3, 5), QTime(10, 30)));
        format.buildTimeFormat(2, 1);
        panel.resize(778, 600);
        grid = new TimeGrid(&panel, model, time, view, reg, format, clock);
        panelLayout = new TimePanelLayout(panel, *grid, view);
        QObject::connect(grid, &TimeGrid::layoutRequested, grid, [this] { layoutRows(); });
        model.layerColors = {{1, 3}, {2, 7}};
        showWeek(at(2024, 3, 4), 7);
    }

    void showWeek(SerialDateTime first, int days)
    {
        time.setSpanStart(first);
        time.setSpanEnd(first + days);
        view.columnCount = days;
        grid->collectAll();
        layout();
    }

    void refresh()
    {
        grid->collectAll();
        layout();
    }

    // As the window: columns fill the width; rows either fit the whole day (row height
    // stretched) or keep the zoom height with a scroll bar of pageSize() hours.
    void layout()
    {
        panelLayout->layoutColumns();
        layoutRows();
    }

    void layoutRows()
    {
        panelLayout->layoutRows(panel.height() + MainPanels::TopBarHeight +
                                MainPanels::BottomBarHeight);
    }

    // The window's zoom commands: the panel's zoom height changes, the rows follow.
    bool zoomIn()
    {
        const bool changed = panelLayout->zoomIn();
        layoutRows();
        return changed;
    }
    bool zoomOut()
    {
        const bool changed = panelLayout->zoomOut();
        layoutRows();
        return changed;
    }

    void applyScroll(int hour) { panelLayout->scrollToHour(hour); }
    int scrollHour() const { return panelLayout->scrollHour(); }
    int pageSize() const { return panelLayout->rows().pageSize; }

    // Middle of the cell of a day column (1..7) and an absolute step.
    QPoint cellPoint(int day, int step, int dy = -1) const
    {
        const QRect r = grid->cellRect(day, step - view.firstVisibleRow);
        return QPoint(r.left() + 4, dy < 0 ? r.center().y() : r.top() + dy);
    }

    void show()
    {
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    QImage shot() const { return grid->grab().toImage(); }
    QImage stripShot() const { return grid->allDayStrip()->grab().toImage(); }
};

} // namespace GridsTest
