#pragma once
// The one-time conversion of an older version's single data file ("Data.cds"): events and
// layers in one table, the layers as rows at day -10000 (the header, which holds the number of
// layers L) and day -10000 + b (layer b: Subject the name, AllDay shown, and colour, archiving
// and days in rule columns, see RecurrenceColumns); events name their layer by that row's id.
class EventsStore;
class LayersStore;
class Settings;

namespace OldDataConversion
{

inline constexpr const char *DataFileName = "Data.cds";
inline constexpr const char *BackupName = "Data.bak";
// Day of the layer header row; layer b's row is at this day + b.
inline constexpr int LayerDay = -10000;

// When "Data.cds" exists in the events store's data directory: takes its rows as the events
// table, keeping their ids (the file becomes "Data.bak"), rebuilds the layers from its layer
// rows, maps the events onto the new layers and clears FirstTime in `settings`. True when a
// conversion ran; false (nothing changed) when there is no such file or it cannot be read.
bool convert(EventsStore &events, LayersStore &layers, Settings &settings);

} // namespace OldDataConversion
