#pragma once
// What the month grid needs from the events data besides the drag fields: the month collection
// it paints and hit-tests, and collecting it for some of its week rows.
#include "store/MonthSpanCollection.h"
#include "views/GridEventModel.h"

class MonthGridModel : public GridEventModel
{
public:
    virtual MonthSpanCollection &monthCollection() = 0;
    // Collects week rows firstWeek..lastWeek (1-based) of the weeks from firstDay; occurrences
    // are expanded over [firstDay, spanEnd).
    virtual void collectMonthView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstWeek,
                                  int lastWeek) = 0;
};
