#pragma once
// The calendar grids of the day and week views: the time grid and the all-day strip.
#include "views/EventGridModel.h"
#include "views/GridsDM_AllDay.h"
#include "views/GridsDM_DayWeek.h"
