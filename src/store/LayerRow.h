#pragma once
// One row of the layers table. `row` orders the layers for display (lower first).
#include <QString>

struct LayerRow {
    int id = -1; // assigned by the table on insert
    int row = 0;
    QString name;
    bool shown = true;
    int color = 1;     // palette number
    int archiving = 1; // 2: old events move to the archive
    int archiveDays = 30;
    bool operator==(const LayerRow &) const = default;
};
