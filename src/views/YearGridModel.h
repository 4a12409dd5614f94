#pragma once
// What the year grid needs from the events data, so that it can be driven by the events store
// in the program and by a small in-memory model in tests: the event rows every dragging grid
// reads and posts, and the year collection.
#include "core/DateTimeValue.h"
#include "store/YearSpanCollection.h"
#include "views/GridEventModel.h"

class YearGridModel : public GridEventModel
{
public:
    // The year collection the grid paints and hit-tests. The grid runs its placement step
    // itself; the model only collects into it.
    virtual YearSpanCollection &yearCollection() = 0;
    // Collects month columns firstMonth..lastMonth (1-based) of the months that start with
    // firstDay's month and end before spanEnd.
    virtual void collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstMonth,
                                 int lastMonth) = 0;
};
