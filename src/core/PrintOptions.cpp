#include "core/PrintOptions.h"

#include "core/Settings.h"
#include "core/ViewState.h"

#include <algorithm>

namespace
{
const QString DefaultOrientations = QStringLiteral("11000000000000000000");

int inRangeOr(int value, int low, int high, int fallback)
{
    return value >= low && value <= high ? value : fallback;
}
} // namespace

double PrintOptions::widthShare() const
{
    return Shares[size_t(inRangeOr(widthIndex, 0, 5, 5))];
}

double PrintOptions::heightShare() const
{
    return Shares[size_t(inRangeOr(heightIndex, 0, 5, 5))];
}

PrintOptions PrintOptions::checked() const
{
    const PrintOptions def;
    PrintOptions o = *this;
    o.widthIndex = inRangeOr(widthIndex, 0, 5, def.widthIndex);
    o.heightIndex = inRangeOr(heightIndex, 0, 5, def.heightIndex);
    o.colorMode = inRangeOr(colorMode, NoColor, LayerColors, def.colorMode);
    o.fontSize = inRangeOr(fontSize, MinFontSize, MaxFontSize, def.fontSize);
    o.startIndex = inRangeOr(startIndex, 0, MaxHourIndex, def.startIndex);
    o.stopIndex = inRangeOr(stopIndex, 0, MaxHourIndex, def.stopIndex);
    o.copies = std::clamp(copies, 1, 100);
    return o;
}

PrintOptions PrintOptions::fromSettings(const Settings &settings, int viewKind)
{
    PrintOptions o;
    o.widthIndex = settings.printWidth();
    o.heightIndex = settings.printHeight();
    o.heading = settings.printHeading();
    o.fontSize = settings.printFontSize() + MinFontSize;
    o.colorMode = viewKind == ViewTasks ? settings.printColor() : int(LayerColors);
    o.startIndex = settings.printStartTime();
    o.stopIndex = settings.printStopTime();
    o.copies = 1;
    return o.checked();
}

bool PrintOptions::landscapeFor(const QString &orientations, int viewKind)
{
    if (viewKind < 0 || viewKind >= DefaultOrientations.size()) return true;
    const QString &s = viewKind < orientations.size() ? orientations : DefaultOrientations;
    return s.at(viewKind) == QLatin1Char('0');
}
