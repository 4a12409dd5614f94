#pragma once
// What the day and week grids need from the events data, so that they can be driven by the
// events store in the program and by a small in-memory model in tests.
#include "store/DaySpanCollection.h"
#include "views/GridEventModel.h"

class TimeGridModel : public GridEventModel
{
public:
    // The day-view collection the grids paint and hit-test. The grids run its placement steps
    // themselves; the model only collects into it.
    virtual DaySpanCollection &dayCollection() = 0;
    // Collects the parts, days and forced IDs of the request (begin() plus one add() per item
    // of the shown layers in event order, occurrences merged in).
    virtual void collectDayView(const DaySpanCollection::Request &request) = 0;
};
