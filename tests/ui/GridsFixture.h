#pragma once
// A time-grid panel as the main window lays it out, over the fake model: the week of Monday
// 4 March 2024, 15-minute scale, the clock at Tuesday 5 March 10:30.
#include "core/Clock.h"
#include "core/DFormatDM.h"
#include "core/DRegDM.h"
#include "core/DTimeDM.h"
#include "core/DViewDM.h"
#include "support/TestEnv.h"
#include "ui/GridsFakeModel.h"
#include "views/GridsDM.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <cmath>

namespace GridsTest
{

inline TDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

inline bool sameTime(TDateTime a, TDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

class DayGridFixture : public ::testing::Test
{
protected:
    Clock clock;
    TDTime time{clock};
    TDView view;
    TDFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    TDReg reg{RegLocations::fromEnvironment(QStringLiteral("/usr/bin/dayloom"))};
    FakeEventModel model;
    QWidget panel;
    TLumGrid_DW *grid = nullptr;
    int scrollPos = 0;
    int pageSize = 23;

    DayGridFixture()
    {
        clock.setFixed(QDateTime(QDate(2024, 3, 5), QTime(10, 30)));
        format.BuildTimeFormat(2, 1);
        panel.resize(778, 600);
        grid = new TLumGrid_DW(&panel, model, time, view, reg, format, clock);
        grid->scrollState = [this] { return GridScrollState{scrollPos, pageSize, 23}; };
        grid->setScrollPosition = [this](int p) { applyScroll(p); };
        QObject::connect(grid, &TLumGrid_DW::layoutRequested, grid, [this] { layout(); });
        model.layerColors = {{1, 3}, {2, 7}};
        showWeek(at(2024, 3, 4), 7);
    }

    void showWeek(TDateTime first, int days)
    {
        time.setFirstDate(first);
        time.setEndDate(first + days);
        view.ColumnCount = days;
        grid->CollectAll();
        layout();
    }

    void refresh()
    {
        grid->CollectAll();
        layout();
    }

    // Columns fill the width with cumulative rounding; rows either fit the whole day (row
    // height stretched) or keep the zoom height with a scroll bar of `pageSize` hours.
    void layout()
    {
        grid->setGeometry(1, 0, panel.width() - 18, panel.height());
        const int n = view.ColumnCount;
        const int w = grid->width() - TLumGrid_DW::TimeColumnWidth;
        std::vector<int> widths;
        int sum = 0;
        for (int i = 1; i <= n; ++i) {
            const int right = int(std::lround(double(i) / n * w));
            widths.push_back(right - sum);
            sum = right;
        }
        grid->SetDayColumns(widths);
        const int m = view.MinRowHeight;
        const int h = panel.height() - m;
        const int spd = grid->StepsPerDay();
        int rh = grid->RowHeight();
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
        grid->ApplyRows(header, rh, rows);
        grid->PlaceAll();
        applyScroll(scrollPos);
    }

    void applyScroll(int position)
    {
        const int perHour = 60 / grid->TimeScale();
        scrollPos = std::clamp(position, 0, std::max(0, 24 - pageSize));
        int start = scrollPos * perHour;
        if (scrollPos >= 24 - pageSize && pageSize < 23)
            start = grid->StepsPerDay() - (grid->rowCount() - 1);
        view.StartPosition = std::max(0, start);
        grid->PlaceVertical();
        grid->allDay()->update();
    }

    // Middle of the cell of a day column (1..7) and an absolute step.
    QPoint cellPoint(int day, int step, int dy = -1) const
    {
        const QRect r = grid->cellRect(day, step - view.StartPosition);
        return QPoint(r.left() + 4, dy < 0 ? r.center().y() : r.top() + dy);
    }

    void show()
    {
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    QImage shot() const { return grid->grab().toImage(); }
    QImage stripShot() const { return grid->allDay()->grab().toImage(); }
};

} // namespace GridsTest
