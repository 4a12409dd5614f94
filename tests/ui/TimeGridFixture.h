#pragma once
// A time-grid panel as the main window lays it out, over the fake model: the week of Monday
// 4 March 2024, 15-minute scale, the clock at Tuesday 5 March 10:30.
#include "core/Clock.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "support/TestEnv.h"
#include "ui/FakeTimeGridModel.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <cmath>

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
    int scrollPos = 0;
    int pageSize = 23;

    DayGridFixture()
    {
        clock.setFixed(QDateTime(QDate(2024, 3, 5), QTime(10, 30)));
        format.buildTimeFormat(2, 1);
        panel.resize(778, 600);
        grid = new TimeGrid(&panel, model, time, view, reg, format, clock);
        grid->scrollState = [this] { return GridScrollState{scrollPos, pageSize, 23}; };
        grid->setScrollPosition = [this](int p) { applyScroll(p); };
        QObject::connect(grid, &TimeGrid::layoutRequested, grid, [this] { layout(); });
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

    // Columns fill the width with cumulative rounding; rows either fit the whole day (row
    // height stretched) or keep the zoom height with a scroll bar of `pageSize` hours.
    void layout()
    {
        grid->setGeometry(1, 0, panel.width() - 18, panel.height());
        const int n = view.columnCount;
        const int w = grid->width() - TimeGrid::TimeColumnWidth;
        std::vector<int> widths;
        int sum = 0;
        for (int i = 1; i <= n; ++i) {
            const int right = int(std::lround(double(i) / n * w));
            widths.push_back(right - sum);
            sum = right;
        }
        grid->setDayColumns(widths);
        const int m = view.stripHeight;
        const int h = panel.height() - m;
        const int spd = grid->stepsPerDay();
        int rh = grid->zoomRowHeight();
        int rows;
        int header;
        if (spd * rh + m > panel.height()) {
            rows = h / rh + 1;
            header = m + h % rh;
            pageSize = int((double(rows - 1) / spd) * 24);
        } else {
            rh = h / spd;
            header = m + h - rh * spd;
            rows = spd + 1;
            pageSize = 23;
            scrollPos = 0;
        }
        grid->applyRows(header, rh, rows);
        grid->placeAll();
        applyScroll(scrollPos);
    }

    void applyScroll(int position)
    {
        const int perHour = 60 / grid->timeScale();
        scrollPos = std::clamp(position, 0, std::max(0, 24 - pageSize));
        int start = scrollPos * perHour;
        if (scrollPos >= 24 - pageSize && pageSize < 23)
            start = grid->stepsPerDay() - (grid->rowCount() - 1);
        view.firstVisibleRow = std::max(0, start);
        grid->placeVertical();
        grid->allDayStrip()->update();
    }

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
