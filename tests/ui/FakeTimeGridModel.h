#pragma once
// An in-memory events model for the day and month grids: one-time events and daily recurring events
// (a recurring row repeats every day from its startTime's day to its endTime's day; an occurrence
// runs from the start's time of day to the end's time of day extraDays days later).
#include "core/DateTimeValue.h"
#include "core/LayerPalette.h"
#include "store/SpanCollections.h"
#include "views/MonthGridModel.h"
#include "views/TimeGridModel.h"

#include <map>
#include <memory>
#include <vector>

struct FakeEvent {
    int id = 0;
    int layer = 1;
    SerialDateTime start = 0;
    SerialDateTime end = 0;
    QString subject;
    QString description;
    bool alarm = false;
    bool recurrent = false;
    int comboBox1 = 0;
};

class FakeTimeGridModel : public TimeGridModel, public MonthGridModel
{
public:
    std::vector<FakeEvent> events;
    std::map<int, int> layerColors; // layer id -> palette index 1..24
    std::vector<std::pair<int, GridEventRow>> posts;
    std::vector<DaySpanCollection::Request> requests;
    std::vector<std::pair<int, int>> monthRequests; // week rows collected, first and last
    bool browsing = true;

    FakeEvent &add(FakeEvent e)
    {
        events.push_back(std::move(e));
        return events.back();
    }
    FakeEvent *find(int id)
    {
        for (FakeEvent &e : events)
            if (e.id == id) return &e;
        return nullptr;
    }

    DaySpanCollection &dayCollection() override { return m_collections->day; }

    void collectDayView(const DaySpanCollection::Request &request) override
    {
        requests.push_back(request);
        const CollectionWindow window = m_collections->day.begin(request);
        SpanOrder::collect(m_collections->day, window, sourceItems());
    }

    MonthSpanCollection &monthCollection() override { return m_collections->month; }
    void collectMonthView(SerialDateTime firstDay, SerialDateTime, int firstWeek,
                          int lastWeek) override
    {
        monthRequests.emplace_back(firstWeek, lastWeek);
        const CollectionWindow window = m_collections->month.begin(firstDay, firstWeek, lastWeek);
        SpanOrder::collect(m_collections->month, window, sourceItems());
    }

    // Every event as the walk hands it over, recurring ones as their occurrences.
    std::vector<SpanSourceItem> sourceItems() const
    {
        std::vector<SpanSourceItem> items;
        for (const FakeEvent &e : events) {
            SpanSourceItem i;
            i.id = e.id;
            i.layer = e.layer;
            i.alarmSet = e.alarm;
            i.subject = e.subject;
            i.description = e.description;
            if (!e.recurrent) {
                i.startTime = e.start;
                i.endTime = e.end;
                items.push_back(i);
                continue;
            }
            const int startTod = DateTimeValue::msOfDay(e.start);
            const int endTod = DateTimeValue::msOfDay(e.end);
            for (int d = DateTimeValue::dayOf(e.start); d <= DateTimeValue::dayOf(e.end); ++d) {
                i.startTime = DateTimeValue::fromMs(qint64(d) * DateTimeValue::MsPerDay + startTod);
                i.endTime = DateTimeValue::fromMs(
                    qint64(d + e.comboBox1) * DateTimeValue::MsPerDay + endTod);
                i.isOccurrence = true;
                items.push_back(i);
            }
        }
        return items;
    }

    std::optional<GridEventRow> eventRow(int id) override
    {
        const FakeEvent *e = find(id);
        if (!e) return std::nullopt;
        return GridEventRow{e->start, e->end, e->recurrent, e->comboBox1};
    }
    bool isBrowsing() const override { return browsing; }
    bool postEventTimes(int id, const GridEventRow &row) override
    {
        FakeEvent *e = find(id);
        if (!e) return false;
        e->start = row.startTime;
        e->end = row.endTime;
        e->comboBox1 = row.extraDays;
        posts.emplace_back(id, row);
        return true;
    }
    QColor layerColor(int layerId) override
    {
        auto it = layerColors.find(layerId);
        return LayerPalette::layerColor(it == layerColors.end() ? 0 : it->second);
    }

private:
    std::unique_ptr<SpanCollections> m_collections = std::make_unique<SpanCollections>();
};
