#include "mainwin/TimeFamilyLayout.h"

#include "core/ViewDates.h"

#include <algorithm>
#include <cmath>

namespace TimeFamily
{

int minutesForScale(int scaleIndex)
{
    if (scaleIndex < 0 || scaleIndex >= int(ScaleMinutes.size()))
        return ScaleMinutes[DefaultScaleIndex];
    return ScaleMinutes[std::size_t(scaleIndex)];
}

int stepsPerDay(int minutesPerRow)
{
    return minutesPerRow > 0 ? 1440 / minutesPerRow : 96;
}

int zoomedIn(int rowHeight)
{
    return rowHeight > 50 ? rowHeight : rowHeight + 5;
}

int zoomedOut(int rowHeight)
{
    return rowHeight < 12 ? rowHeight : rowHeight - 5;
}

std::vector<int> columnWidths(int n, int width)
{
    std::vector<int> widths;
    if (n < 1) return widths;
    width = std::max(width, 0);
    widths.reserve(std::size_t(n));
    int used = 0;
    for (int i = 1; i <= n; ++i) {
        const int end = int(std::nearbyint(double(i) / n * width));
        widths.push_back(end - used);
        used = end;
    }
    return widths;
}

RowLayout rowLayout(int clientHeight, int minRowHeight, int zoomRowHeight, int stepsPerDay)
{
    RowLayout r;
    const int h = std::max(clientHeight - minRowHeight - 86, 0);
    const int rh = std::max(zoomRowHeight, 1);
    stepsPerDay = std::max(stepsPerDay, 1);
    if (stepsPerDay * rh > h) {
        r.rowHeight = rh;
        r.rowCount = h / rh + 1;
        r.headerHeight = minRowHeight + h % rh;
        r.scrollBarVisible = true;
        r.scrollBarTop = r.headerHeight;
        r.scrollBarHeight = std::max(clientHeight - minRowHeight - h % rh - 87, 0);
        r.pageSize = std::clamp((r.rowCount - 1) * 24 / stepsPerDay, 1, 23);
    } else {
        r.rowHeight = h / stepsPerDay;
        r.rowCount = stepsPerDay + 1;
        r.headerHeight = minRowHeight + h - r.rowHeight * stepsPerDay;
        r.pageSize = 23;
    }
    return r;
}

int lastScrollHour(int pageSize)
{
    return std::max(24 - pageSize, 0);
}

int startPosition(int hour, int pageSize, int minutesPerRow, int rowCount)
{
    if (minutesPerRow <= 0) return 0;
    hour = std::clamp(hour, 0, lastScrollHour(pageSize));
    int row = hour * 60 / minutesPerRow;
    if (hour >= 24 - pageSize) row += pageSize * 60 / minutesPerRow - rowCount + 1;
    return std::max(row, 0);
}

QString headerText(SerialDateTime day, int columnWidth)
{
    const QDate d = DateTimeValue::toQDate(day);
    QString text = ViewDates::ShortDayNames[std::size_t(d.dayOfWeek() % 7)].toString();
    if (columnWidth >= 51) text += QStringLiteral(" %1").arg(d.day());
    if (columnWidth >= 76)
        text += QStringLiteral(" %1").arg(ViewDates::ShortMonthNames[std::size_t(d.month() - 1)]);
    return text;
}

} // namespace TimeFamily
